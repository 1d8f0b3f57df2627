#include "TestLevel.h"

#include <string>

using namespace irr;

namespace vistel
{
namespace test
{

namespace
{

struct SGrid
{
	core::vector3df origin, across, up; // the grid spans origin + a × across + b × up, a and b in 0..1
	u32 cells;                          // per side
	video::E_MATERIAL_TYPE type;
	u32 colour;
};

const SGrid Grids[ETLB_COUNT] = {
	{core::vector3df(-100.f, -10.f, 0.f), core::vector3df(200.f, 0.f, 0.f), core::vector3df(0.f, 0.f, 200.f), 16,
		video::EMT_SOLID, 0xFFC03020},
	{core::vector3df(-120.f, -10.f, 150.f), core::vector3df(240.f, 0.f, 0.f), core::vector3df(0.f, 90.f, 0.f), 16,
		video::EMT_SOLID, 0xFF20A040},
	{core::vector3df(-30.f, -8.f, 80.f), core::vector3df(60.f, 0.f, 0.f), core::vector3df(0.f, 40.f, 0.f), 4,
		video::EMT_TRANSPARENT_ALPHA_CHANNEL, 0x802040E0},
	{core::vector3df(-50.f, -10.f, -100.f), core::vector3df(100.f, 0.f, 0.f), core::vector3df(0.f, 60.f, 0.f), 4,
		video::EMT_SOLID, 0xFFE0E020},
	{core::vector3df(), core::vector3df(), core::vector3df(), 0, video::EMT_LIGHTMAP_LIGHTING, 0xFFFFFFFF},
	{core::vector3df(-2000.f, -10.f, 0.f), core::vector3df(0.f, 0.f, 40.f), core::vector3df(0.f, 60.f, 0.f), 2,
		video::EMT_SOLID, 0xFF8040A0},
};

} // end anonymous namespace

u32 getTestLevelTriangleCount(ETestLevelBuffer buffer)
{
	return 2 * Grids[buffer].cells * Grids[buffer].cells;
}

scene::SMesh* makeTestLevel(video::IVideoDriver* driver)
{
	scene::SMesh* mesh = new scene::SMesh();
	for (u32 b = 0; b < ETLB_COUNT; ++b)
	{
		const SGrid& grid = Grids[b];
		scene::SMeshBufferLightMap* buffer = new scene::SMeshBufferLightMap();
		buffer->Material.MaterialType = grid.type;
		buffer->Material.Lighting = false;
		buffer->Material.BackfaceCulling = false;
		if (driver)
		{
			const io::path name = ("level colour " + std::to_string(b)).c_str();
			video::ITexture* texture = driver->findTexture(name);
			if (!texture)
			{
				video::IImage* image = driver->createImage(video::ECF_A8R8G8B8, core::dimension2du(1, 1));
				image->setPixel(0, 0, video::SColor(grid.colour));
				texture = driver->addTexture(name, image);
				image->drop();
			}
			buffer->Material.setTexture(0, texture);
		}
		// Four corners per cell, so that the cells share no vertex, as the
		// loader builds them; the cells are listed row by row.
		const core::vector3df normal = grid.across.crossProduct(grid.up).normalize();
		for (u32 row = 0; row < grid.cells; ++row)
			for (u32 column = 0; column < grid.cells; ++column)
			{
				const u16 base = static_cast<u16>(buffer->Vertices.size());
				for (u32 corner = 0; corner < 4; ++corner)
				{
					const f32 a = f32(column + (corner == 1 || corner == 2)) / grid.cells;
					const f32 c = f32(row + (corner >= 2)) / grid.cells;
					buffer->Vertices.push_back(video::S3DVertex2TCoords(grid.origin + grid.across * a + grid.up * c,
						normal, video::SColor(0xFFFFFFFF), core::vector2df(a, c), core::vector2df(a, c)));
				}
				const u16 corners[] = {0, 1, 2, 0, 2, 3};
				for (u16 corner : corners)
					buffer->Indices.push_back(static_cast<u16>(base + corner));
			}
		buffer->recalculateBoundingBox();
		mesh->addMeshBuffer(buffer);
		buffer->drop();
	}
	mesh->recalculateBoundingBox();
	return mesh;
}

} // end namespace test
} // end namespace vistel
