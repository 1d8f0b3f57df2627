// vistel-levelgen: writes a scene document in the editor's format, the
// textures it names, and the same geometry as an OBJ file.
#include "CLevelBuilder.h"
#include "CLightmapBaker.h"
#include "CSampleLevelBuilder.h"
#include "CSampleTextures.h"
#include "CSceneDocumentWriter.h"
#include "CTextureWriter.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;
using namespace vistel::levelgen;

namespace
{

void usage()
{
	std::puts(
		"usage: vistel-levelgen [options]\n"
		"  --sample           the bundled sample level: a few rooms with baked lightmaps,\n"
		"                     JPEG and PNG textures and a sky box (ignores --rooms, --detail,\n"
		"                     --triangles and --seed; texture size default 512)\n"
		"  --out DIR          output folder (default .)\n"
		"  --name NAME        base name of the document and OBJ (default level)\n"
		"  --rooms N          number of rooms (default 4)\n"
		"  --detail D         cut every surface into D x D quads (default 1)\n"
		"  --triangles T      choose the room count for about T triangles (detail default 16)\n"
		"  --seed S           variation seed (default 1)\n"
		"  --texture-size N   texture edge in pixels, power of two (default 128)\n"
		"  --with-settings    include the preview's settings element\n"
		"  --no-obj           skip the OBJ and MTL files\n"
		"  --no-textures      skip the Textures folder");
}

bool writeTextures(const fs::path& folder, int size, std::uint32_t seed)
{
	std::error_code ec;
	fs::create_directories(folder / "Floors", ec);
	fs::create_directories(folder / "Walls", ec);
	fs::create_directories(folder / "Lightmaps", ec);
	bool ok = true;
	ok &= writeTga(paintStone(size, seed), (folder / "Floors" / "Stone.tga").string());
	ok &= writeBmp(paintWood(size, seed + 1), (folder / "Floors" / "Wood.bmp").string());
	ok &= writeTga(paintBrick(size), (folder / "Walls" / "Brick.tga").string());
	ok &= writeTga(paintGlass(size / 2), (folder / "Glass.tga").string());
	ok &= writeTga(paintLightmap(size / 2), (folder / "Lightmaps" / "Floor.tga").string());
	return ok;
}

std::string fileName(const char* documentPath)
{
	std::string name = documentPath;
	for (char& c : name)
		if (c == '\\')
			c = '/';
	return name;
}

bool writeSampleTextures(const fs::path& folder, int size, const SImage& lightmap)
{
	CImageFiles files;
	if (!files.ok())
		return false;
	std::error_code ec;
	for (const char* sub : {"Walls", "Floors", "Metal", "Lightmaps", "Sky"})
		fs::create_directories(folder / sub, ec);
	auto path = [&](const char* name) { return (folder / fileName(name)).string(); };
	const int quality = 88;
	bool ok = true;
	ok &= files.writeJpeg(paintBrickWall(size), path(SSampleTextureFiles::Brick), quality);
	ok &= files.writeJpeg(paintFloorTiles(size), path(SSampleTextureFiles::Tiles), quality);
	ok &= files.writeJpeg(paintWoodPlanks(size), path(SSampleTextureFiles::Wood), quality);
	ok &= files.writeJpeg(paintMetalPanels(size), path(SSampleTextureFiles::Metal), quality);
	ok &= files.writeJpeg(paintConcrete(size), path(SSampleTextureFiles::Concrete), quality);
	ok &= files.writePng(paintWindowGlass(std::max(8, size / 2)), path(SSampleTextureFiles::Glass));
	ok &= files.writePng(lightmap, path(SSampleTextureFiles::Lightmap));
	// The sky in the engine's axes, where z is mirrored against the document.
	const SVec3 sun = getSampleSunDirection();
	const ESkyFace faces[6] = {ESF_TOP, ESF_LEFT, ESF_FRONT, ESF_RIGHT, ESF_BOTTOM, ESF_BACK};
	for (int i = 0; i < 6; ++i)
		ok &= files.writeJpeg(paintSkyFace(faces[i], size, sun.X, sun.Y, -sun.Z), path(SSampleTextureFiles::Sky[i]),
			quality);
	return ok;
}

// The scene document NAME.xml and, when asked, its OBJ twin in the folder,
// which is made first. False, with a line on the error output, on failure.
bool writeLevelFiles(const SGenLevel& level, const fs::path& folder, const std::string& name, bool obj,
	const SDocumentOptions& document)
{
	std::error_code ec;
	fs::create_directories(folder, ec);
	const fs::path documentPath = folder / (name + ".xml");
	if (!writeSceneDocument(level, documentPath.string(), document))
	{
		std::fprintf(stderr, "cannot write %s\n", documentPath.string().c_str());
		return false;
	}
	if (obj && !writeObj(level, (folder / (name + ".obj")).string(), name + ".mtl", "Textures"))
	{
		std::fputs("cannot write the OBJ file\n", stderr);
		return false;
	}
	return true;
}

int writeSample(const fs::path& folder, const std::string& name, int textureSize, bool obj, bool textures,
	const SDocumentOptions& document)
{
	SGenLevel level = buildSampleLevel();
	SBakeReport report;
	const SImage lightmap = bakeLightmaps(level, SBakeOptions(), report);
	const fs::path documentPath = folder / (name + ".xml");
	if (!writeLevelFiles(level, folder, name, obj, document))
		return 1;
	if (textures && !writeSampleTextures(folder / "Textures", textureSize, lightmap))
	{
		std::fputs("cannot write the textures\n", stderr);
		return 1;
	}
	std::printf("%s: sample level, %zu primitives, %zu polygons, %zu triangles\n"
				"lightmap %dx%d: %zu patches, %zu texels, %zu shadow rays\n",
		documentPath.string().c_str(), level.Primitives.size(), level.polygonCount(), level.triangleCount(),
		report.AtlasWidth, report.AtlasHeight, report.Patches, report.Texels, report.ShadowRays);
	return 0;
}

} // namespace

int main(int argc, char** argv)
{
	SBuildOptions build;
	SDocumentOptions document;
	std::string out = ".", name = "level";
	long long triangles = 0;
	bool detailGiven = false, obj = true, textures = true, sample = false;
	int textureSize = 0;

	for (int i = 1; i < argc; ++i)
	{
		const std::string arg = argv[i];
		auto value = [&]() -> const char* {
			if (i + 1 >= argc)
			{
				std::fprintf(stderr, "missing value after %s\n", arg.c_str());
				std::exit(2);
			}
			return argv[++i];
		};
		if (arg == "--sample")
			sample = true;
		else if (arg == "--out")
			out = value();
		else if (arg == "--name")
			name = value();
		else if (arg == "--rooms")
			build.Rooms = std::atoi(value());
		else if (arg == "--detail")
		{
			build.Detail = std::atoi(value());
			detailGiven = true;
		}
		else if (arg == "--triangles")
			triangles = std::atoll(value());
		else if (arg == "--seed")
			build.Seed = static_cast<std::uint32_t>(std::strtoul(value(), nullptr, 10));
		else if (arg == "--texture-size")
			textureSize = std::atoi(value());
		else if (arg == "--with-settings")
			document.WithSettings = true;
		else if (arg == "--no-obj")
			obj = false;
		else if (arg == "--no-textures")
			textures = false;
		else if (arg == "--help" || arg == "-h")
		{
			usage();
			return 0;
		}
		else
		{
			std::fprintf(stderr, "unknown option %s\n", arg.c_str());
			usage();
			return 2;
		}
	}
	if (textureSize == 0)
		textureSize = sample ? 512 : 128;
	if (build.Rooms < 1 || build.Detail < 1 || textureSize < 8 || (textureSize & (textureSize - 1)) != 0)
	{
		std::fputs("rooms and detail must be positive; the texture size a power of two of at least 8\n", stderr);
		return 2;
	}

	if (sample)
		return writeSample(fs::path(out), name, textureSize, obj, textures, document);

	if (triangles > 0)
	{
		if (!detailGiven)
			build.Detail = 16;
		// Measure a small level of the same detail and scale the room count.
		SBuildOptions probe = build;
		probe.Rooms = 9;
		const double perRoom = static_cast<double>(CLevelBuilder(probe).build().triangleCount()) / probe.Rooms;
		build.Rooms = std::max(1, static_cast<int>(static_cast<double>(triangles) / perRoom + 0.5));
	}

	const SGenLevel level = CLevelBuilder(build).build();
	const fs::path folder(out);
	const fs::path documentPath = folder / (name + ".xml");
	if (!writeLevelFiles(level, folder, name, obj, document))
		return 1;
	if (textures && !writeTextures(folder / "Textures", textureSize, build.Seed))
	{
		std::fputs("cannot write the textures\n", stderr);
		return 1;
	}
	std::printf("%s: %d rooms, %zu primitives, %zu polygons, %zu triangles\n", documentPath.string().c_str(),
		build.Rooms, level.Primitives.size(), level.polygonCount(), level.triangleCount());
	return 0;
}
