#include "PreviewSettingsFile.h"
#include "PathParts.h"
#include "../runtime/SPreviewRunState.h"

#include <cstdio>
#include <cstring>

namespace vistel
{

namespace
{

const char INI_FILE_NAME[] = "tarvo.ini";
const char PLUGIN_DIRECTORY_KEY[] = "pluginfiles=";
const char SETTINGS_FILE_NAME[] = "vistel.cfg";

// Little-endian writer of the file's fields.
class CByteWriter
{
public:
	explicit CByteWriter(std::vector<irr::u8>& out) : Out(out) {}

	void u32(irr::u32 v)
	{
		for (int i = 0; i < 4; ++i)
			Out.push_back(static_cast<irr::u8>(v >> (8 * i)));
	}
	void s32(irr::s32 v) { u32(static_cast<irr::u32>(v)); }
	void f32(irr::f32 v)
	{
		irr::u32 bits;
		std::memcpy(&bits, &v, 4);
		u32(bits);
	}
	void vec(const irr::core::vector3df& v) { f32(v.X); f32(v.Y); f32(v.Z); }
	void flag(bool v) { Out.push_back(v ? 1 : 0); }
	void reserved(size_t count) { Out.insert(Out.end(), count, 0); }
	void text(const irr::core::stringc& s)
	{
		u32(s.size());
		Out.insert(Out.end(), s.c_str(), s.c_str() + s.size());
	}

private:
	std::vector<irr::u8>& Out;
};

// Little-endian reader that remembers whether it ran past the end.
class CByteReader
{
public:
	explicit CByteReader(const std::vector<irr::u8>& in) : In(in), Pos(0), Failed(false) {}

	irr::u32 u32()
	{
		if (!take(4))
			return 0;
		irr::u32 v = 0;
		for (int i = 0; i < 4; ++i)
			v |= static_cast<irr::u32>(In[Pos - 4 + i]) << (8 * i);
		return v;
	}
	irr::s32 s32() { return static_cast<irr::s32>(u32()); }
	irr::f32 f32()
	{
		const irr::u32 bits = u32();
		irr::f32 v;
		std::memcpy(&v, &bits, 4);
		return v;
	}
	irr::core::vector3df vec()
	{
		const irr::f32 x = f32();
		const irr::f32 y = f32();
		return irr::core::vector3df(x, y, f32());
	}
	// Any byte but 0 reads as true: the file is not validated.
	bool flag() { return take(1) && In[Pos - 1] != 0; }
	void reserved(size_t count) { take(count); }
	irr::core::stringc text()
	{
		const irr::u32 length = u32();
		if (length > MAX_TEXTURE_PATH_LENGTH)
		{
			Failed = true;
			return irr::core::stringc();
		}
		if (!take(length))
			return irr::core::stringc();
		return irr::core::stringc(reinterpret_cast<const char*>(&In[Pos - length]), length);
	}
	bool failed() const { return Failed; }

private:
	bool take(size_t count)
	{
		if (Failed || In.size() - Pos < count)
		{
			Failed = true;
			return false;
		}
		Pos += count;
		return true;
	}

	const std::vector<irr::u8>& In;
	size_t Pos;
	bool Failed;
};

bool startsWith(const char* line, const char* prefix)
{
	return std::strncmp(line, prefix, std::strlen(prefix)) == 0;
}

bool isTrailingPathJunk(char c)
{
	// Line ends and directory separators; a Windows editor's ini may end
	// its directories in a backslash.
	return c == '\n' || c == '\\' || c == PATH_SEPARATOR;
}

bool readWholeFile(const irr::core::stringc& path, std::vector<irr::u8>& out)
{
	FILE* file = std::fopen(path.c_str(), "rb");
	if (!file)
		return false;
	irr::u8 chunk[4096];
	size_t count;
	while ((count = std::fread(chunk, 1, sizeof(chunk), file)) > 0)
		out.insert(out.end(), chunk, chunk + count);
	const bool ok = !std::ferror(file);
	std::fclose(file);
	return ok;
}

} // end anonymous namespace

irr::core::stringc getPluginDirectory(const irr::core::stringc& settingsDirectory)
{
	irr::core::stringc iniPath = settingsDirectory;
	iniPath += PATH_SEPARATOR;
	iniPath += INI_FILE_NAME;

	FILE* ini = std::fopen(iniPath.c_str(), "r");
	if (ini)
	{
		// One read takes at most 4095 characters; the rest of a longer line
		// arrives as the next entry.
		char line[4096];
		bool found = false;
		irr::core::stringc value;
		while (std::fgets(line, sizeof(line), ini))
		{
			if (found || !startsWith(line, PLUGIN_DIRECTORY_KEY))
				continue;
			size_t length = std::strlen(line);
			// A CR LF line end reads as one line feed, as text mode does on
			// the editor's own system.
			if (length >= 2 && line[length - 2] == '\r' && line[length - 1] == '\n')
			{
				line[length - 2] = '\n';
				line[--length] = 0;
			}
			const size_t keyLength = std::strlen(PLUGIN_DIRECTORY_KEY);
			while (length > keyLength && isTrailingPathJunk(line[length - 1]))
				--length;
			value = irr::core::stringc(line + keyLength, static_cast<irr::u32>(length - keyLength));
			found = true;
		}
		std::fclose(ini);
		if (found)
			return value;
	}

	irr::core::stringc fallback = settingsDirectory;
	fallback += PATH_SEPARATOR;
	fallback += "Plugins";
	return fallback;
}

irr::core::stringc getPreviewSettingsPath(const irr::core::stringc& settingsDirectory)
{
	irr::core::stringc path = getPluginDirectory(settingsDirectory);
	path += PATH_SEPARATOR;
	path += SETTINGS_FILE_NAME;
	return path;
}

std::vector<irr::u8> encodePreviewSettings(const SPreviewSettings& s)
{
	std::vector<irr::u8> bytes;
	bytes.reserve(EMPTY_PATHS_FILE_SIZE);
	CByteWriter w(bytes);

	w.s32(s.camera.ellipsoidPosition);
	w.flag(s.camera.placeInCenter);
	w.flag(s.camera.useUserPosition);
	w.reserved(2);
	w.vec(s.camera.userPosition);
	w.f32(s.camera.moveSpeed);
	w.f32(s.camera.rotateSpeed);
	w.f32(s.camera.reserved);
	w.f32(s.camera.farValue);
	w.f32(s.camera.nearValue);

	w.flag(s.collision.collisionEnabled);
	w.flag(s.collision.gravityEnabled);
	w.reserved(2);
	w.vec(s.collision.ellipsoidRadius);
	w.f32(s.collision.gravity);
	w.f32(s.collision.reserved);

	w.flag(s.engine.fullscreen);
	w.flag(s.engine.ignoreShadows);
	w.flag(s.engine.selectedOnly);
	w.flag(s.engine.hideMouseCursor);
	w.s32(s.engine.screenHeight);
	w.s32(s.engine.screenWidth);
	w.s32(s.engine.colorBits);
	w.flag(s.engine.useNormalMapping);
	w.reserved(3);
	w.f32(s.engine.reserved);
	w.flag(s.engine.backfaceCulling);
	w.flag(s.engine.wireframe);
	w.reserved(2);

	w.f32(s.fx.reserved);
	w.f32(s.fx.flashlightAngle);
	w.f32(s.fx.flashlightDistance);
	w.f32(s.fx.screenRatioX);
	w.f32(s.fx.screenRatioY);
	w.u32(s.fx.flashlightColor.color);
	w.flag(s.fx.laserMode);
	w.flag(s.fx.useShader);
	w.reserved(2);

	w.f32(s.level.reserved);
	w.s32(s.level.shadowOpacity);
	w.s32(s.level.scaleX);
	w.s32(s.level.scaleY);
	w.s32(s.level.scaleZ);
	w.u32(s.level.backgroundColor.color);
	w.flag(s.level.useSkybox);
	w.flag(s.level.hasTopTexture);
	w.flag(s.level.hasLeftTexture);
	w.flag(s.level.hasCenterTexture);
	w.flag(s.level.hasRightTexture);
	w.flag(s.level.hasBottomTexture);
	w.flag(s.level.hasBackTexture);
	w.text(s.level.topTexture);
	w.text(s.level.leftTexture);
	w.text(s.level.centerTexture);
	w.text(s.level.rightTexture);
	w.text(s.level.bottomTexture);
	w.text(s.level.backTexture);
	return bytes;
}

bool decodePreviewSettings(const std::vector<irr::u8>& bytes, SPreviewSettings& out)
{
	// Read into a fresh record so that a broken file never mixes read and
	// earlier values.
	SPreviewSettings s = SPreviewSettings();
	CByteReader r(bytes);

	s.camera.ellipsoidPosition = r.s32();
	s.camera.placeInCenter = r.flag();
	s.camera.useUserPosition = r.flag();
	r.reserved(2);
	s.camera.userPosition = r.vec();
	s.camera.moveSpeed = r.f32();
	s.camera.rotateSpeed = r.f32();
	s.camera.reserved = r.f32();
	s.camera.farValue = r.f32();
	s.camera.nearValue = r.f32();

	s.collision.collisionEnabled = r.flag();
	s.collision.gravityEnabled = r.flag();
	r.reserved(2);
	s.collision.ellipsoidRadius = r.vec();
	s.collision.gravity = r.f32();
	s.collision.reserved = r.f32();

	s.engine.fullscreen = r.flag();
	s.engine.ignoreShadows = r.flag();
	s.engine.selectedOnly = r.flag();
	s.engine.hideMouseCursor = r.flag();
	s.engine.screenHeight = r.s32();
	s.engine.screenWidth = r.s32();
	s.engine.colorBits = r.s32();
	s.engine.useNormalMapping = r.flag();
	r.reserved(3);
	s.engine.reserved = r.f32();
	s.engine.backfaceCulling = r.flag();
	s.engine.wireframe = r.flag();
	r.reserved(2);

	s.fx.reserved = r.f32();
	s.fx.flashlightAngle = r.f32();
	s.fx.flashlightDistance = r.f32();
	s.fx.screenRatioX = r.f32();
	s.fx.screenRatioY = r.f32();
	s.fx.flashlightColor.color = r.u32();
	s.fx.laserMode = r.flag();
	s.fx.useShader = r.flag();
	r.reserved(2);

	s.level.reserved = r.f32();
	s.level.shadowOpacity = r.s32();
	s.level.scaleX = r.s32();
	s.level.scaleY = r.s32();
	s.level.scaleZ = r.s32();
	s.level.backgroundColor.color = r.u32();
	s.level.useSkybox = r.flag();
	s.level.hasTopTexture = r.flag();
	s.level.hasLeftTexture = r.flag();
	s.level.hasCenterTexture = r.flag();
	s.level.hasRightTexture = r.flag();
	s.level.hasBottomTexture = r.flag();
	s.level.hasBackTexture = r.flag();
	s.level.topTexture = r.text();
	s.level.leftTexture = r.text();
	s.level.centerTexture = r.text();
	s.level.rightTexture = r.text();
	s.level.bottomTexture = r.text();
	s.level.backTexture = r.text();

	if (r.failed())
		return false;
	out = s;
	return true;
}

void loadPreviewSettings(const irr::core::stringc& settingsDirectory)
{
	const irr::core::stringc path = getPreviewSettingsPath(settingsDirectory);
	std::vector<irr::u8> bytes;
	if (readWholeFile(path, bytes))
	{
		// A damaged file gives the defaults but stays on disk as it is; only
		// an explicit save replaces it.
		if (!decodePreviewSettings(bytes, getPreviewSettings()))
			getPreviewSettings() = makeDefaultPreviewSettings();
	}
	else
	{
		getPreviewSettings() = makeDefaultPreviewSettings();
		savePreviewSettings(settingsDirectory);
	}
	getPreviewRunState().quitRequested = false;
}

void savePreviewSettings(const irr::core::stringc& settingsDirectory)
{
	const irr::core::stringc path = getPreviewSettingsPath(settingsDirectory);
	const std::vector<irr::u8> bytes = encodePreviewSettings(getPreviewSettings());

	// Write beside the file and rename over it, so a failed or partial
	// write never leaves a truncated configuration behind.
	irr::core::stringc temporaryPath = path;
	temporaryPath += ".new";
	FILE* file = std::fopen(temporaryPath.c_str(), "wb");
	if (!file)
		return;
	const bool written = std::fwrite(&bytes[0], 1, bytes.size(), file) == bytes.size();
	const bool closed = std::fclose(file) == 0;
	if (!written || !closed || std::rename(temporaryPath.c_str(), path.c_str()) != 0)
		std::remove(temporaryPath.c_str());
}

} // end namespace vistel
