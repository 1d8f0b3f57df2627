// A bare Irrlicht viewer, the yardstick of the preview path: it loads the
// level's OBJ twin with the engine's own loader, merges the buffers per
// material up to 65,535 vertices, builds an octree scene node and an octree
// triangle selector with a collision camera, and draws its first frame. Then
// it draws for a while and prints the frame rate, with the engine's built-in
// lightmap material on every buffer.
//   BareViewerBench <level.obj> [--lightmap FILE] [--fps-seconds S] [--shot FILE]
// Prints "stage NAME SECONDS" lines, the triangle count, the frame rate and
// the peak resident memory. The camera, its collision ellipsoid and gravity
// are those the preview starts with by default, so both draw the same view.
#include <irrlicht.h>

#include "BenchMeasures.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

using namespace irr;

namespace
{

using namespace vistel::bench;

void printStage(const char* name, Clock::time_point& mark)
{
	static double cpuMark = 0;
	std::printf("stage %s %.3f\n", name, secondsSince(mark));
	const double cpu = cpuSeconds();
	std::printf("cpu %s %.3f\n", name, cpu - cpuMark);
	cpuMark = cpu;
	mark = Clock::now();
}

// The engine's OBJ loader keeps a buffer per object and material; the
// viewer draws one buffer per material, cut where 16-bit indices end.
scene::SMesh* mergePerMaterial(scene::IMesh* source, video::ITexture* lightmap)
{
	const u32 maxVertices = 65535;
	scene::SMesh* merged = new scene::SMesh();
	std::map<video::ITexture*, scene::SMeshBufferLightMap*> open;
	for (u32 b = 0; b < source->getMeshBufferCount(); ++b)
	{
		scene::IMeshBuffer* in = source->getMeshBuffer(b);
		if (in->getVertexType() != video::EVT_STANDARD || in->getIndexType() != video::EIT_16BIT)
			continue;
		video::ITexture* texture = in->getMaterial().getTexture(0);
		const video::S3DVertex* vertices = static_cast<const video::S3DVertex*>(in->getVertices());
		const u16* indices = in->getIndices();
		const u32 vertexCount = in->getVertexCount();
		if (vertexCount > maxVertices)
		{
			std::fprintf(stderr, "an OBJ buffer of %u vertices cannot be drawn with 16-bit indices\n", vertexCount);
			continue;
		}
		// Whole buffers move together: the OBJ loader's buffers are small.
		scene::SMeshBufferLightMap*& out = open[texture];
		if (!out || out->Vertices.size() + vertexCount > maxVertices)
		{
			out = new scene::SMeshBufferLightMap();
			out->Material = in->getMaterial();
			out->Material.MaterialType = lightmap ? video::EMT_LIGHTMAP_LIGHTING : video::EMT_SOLID;
			out->Material.setTexture(1, lightmap);
			out->Material.Lighting = false;
			merged->addMeshBuffer(out);
			out->drop();
		}
		const u32 base = out->Vertices.size();
		for (u32 v = 0; v < vertexCount; ++v)
		{
			const video::S3DVertex& s = vertices[v];
			out->Vertices.push_back(video::S3DVertex2TCoords(s.Pos, s.Normal, s.Color, s.TCoords, s.TCoords));
		}
		// The engine's OBJ loader turns the file's winding round, the
		// preview keeps it: the viewer turns it back so the same faces face
		// the camera.
		for (u32 i = 0; i + 2 < in->getIndexCount(); i += 3)
		{
			out->Indices.push_back(static_cast<u16>(base + indices[i]));
			out->Indices.push_back(static_cast<u16>(base + indices[i + 2]));
			out->Indices.push_back(static_cast<u16>(base + indices[i + 1]));
		}
	}
	for (u32 b = 0; b < merged->getMeshBufferCount(); ++b)
		merged->getMeshBuffer(b)->recalculateBoundingBox();
	merged->recalculateBoundingBox();
	return merged;
}

} // end namespace

int main(int argc, char** argv)
{
	if (argc < 2)
	{
		std::fprintf(stderr, "usage: %s <level.obj> [--lightmap FILE] [--fps-seconds S] [--shot FILE]\n", argv[0]);
		return 2;
	}
	const char* objPath = argv[1];
	const char* lightmapPath = nullptr;
	double fpsSeconds = 0;
	const char* shotPath = nullptr;
	for (int i = 2; i + 1 < argc; i += 2)
	{
		if (std::strcmp(argv[i], "--lightmap") == 0)
			lightmapPath = argv[i + 1];
		else if (std::strcmp(argv[i], "--fps-seconds") == 0)
			fpsSeconds = std::atof(argv[i + 1]);
		else if (std::strcmp(argv[i], "--shot") == 0)
			shotPath = argv[i + 1];
	}

	Clock::time_point start = Clock::now();
	Clock::time_point mark = start;
	SIrrlichtCreationParameters parameters;
	parameters.DriverType = video::EDT_OPENGL;
	parameters.WindowSize = core::dimension2d<u32>(640, 480);
	parameters.Bits = 32;
	parameters.Vsync = false;
	parameters.LoggingLevel = ELL_WARNING;
	IrrlichtDevice* device = createDeviceEx(parameters);
	if (!device)
	{
		std::fprintf(stderr, "no OpenGL device\n");
		return 1;
	}
	video::IVideoDriver* driver = device->getVideoDriver();
	scene::ISceneManager* smgr = device->getSceneManager();
	printStage("device", mark);

	scene::IAnimatedMesh* objMesh = smgr->getMesh(objPath);
	if (!objMesh || objMesh->getFrameCount() == 0)
	{
		std::fprintf(stderr, "cannot load %s\n", objPath);
		return 1;
	}
	printStage("load", mark);

	video::ITexture* lightmap = lightmapPath ? driver->getTexture(lightmapPath) : nullptr;
	scene::SMesh* mesh = mergePerMaterial(objMesh->getMesh(0), lightmap);
	// The OBJ is no longer needed once merged, as a viewer would free it.
	smgr->getMeshCache()->removeMesh(objMesh);
	printStage("merge", mark);

	// The engine's OBJ loader mirrors x, the preview mirrors z: half a turn
	// about y puts both in the same place.
	scene::ISceneNode* node = smgr->addOctreeSceneNode(mesh, 0, -1, 128);
	node->setRotation(core::vector3df(0, 180, 0));
	node->updateAbsolutePosition();
	printStage("octree", mark);

	scene::ITriangleSelector* selector = smgr->createOctreeTriangleSelector(mesh, node, 128);
	node->setTriangleSelector(selector);
	printStage("selector", mark);

	scene::ICameraSceneNode* camera = smgr->addCameraSceneNodeFPS(0, 100.f, 0.5f, -1, 0, 0, false);
	const core::aabbox3df box = node->getTransformedBoundingBox();
	camera->setPosition(core::vector3df(0.f, box.getCenter().Y, 0.f));
	camera->setNearValue(1.f);
	camera->setFarValue(5000.f);
	scene::ISceneNodeAnimator* collision = smgr->createCollisionResponseAnimator(selector, camera,
		core::vector3df(30, 50, 30), core::vector3df(0, -3, 0), core::vector3df(0, 0, 0), 0.0005f);
	camera->addAnimator(collision);
	collision->drop();
	device->getCursorControl()->setVisible(false);

	u32 triangles = 0;
	const u32 buffers = mesh->getMeshBufferCount();
	for (u32 b = 0; b < buffers; ++b)
		triangles += mesh->getMeshBuffer(b)->getIndexCount() / 3;
	mesh->drop();

	device->run();
	driver->beginScene(true, true, video::SColor(0xFFFFFFFF));
	smgr->drawAll();
	driver->endScene();
	printStage("first-frame", mark);
	std::printf("total %.3f\n", secondsSince(start));
	std::printf("total-cpu %.3f\n", cpuSeconds());
	std::printf("triangles %u buffers %u drawn %u\n", triangles, buffers, driver->getPrimitiveCountDrawn());
	std::printf("peak-rss-kib %ld\n", peakResidentKiB());
	std::fflush(stdout);

	if (fpsSeconds > 0)
	{
		u32 frames = 0;
		const Clock::time_point fpsStart = Clock::now();
		const double cpuStart = cpuSeconds();
		while (device->run() && secondsSince(fpsStart) < fpsSeconds)
		{
			driver->beginScene(true, true, video::SColor(0xFFFFFFFF));
			smgr->drawAll();
			driver->endScene();
			++frames;
		}
		std::printf("fps %.2f\n", frames / secondsSince(fpsStart));
		// Processor time per frame, the driver's threads included: steadier
		// than the frame rate on a shared machine.
		std::printf("cpu-ms-per-frame %.3f\n", frames ? (cpuSeconds() - cpuStart) * 1000.0 / frames : 0.0);
	}
	if (shotPath)
	{
		// The view the frame rate was measured on, to compare by eye; read
		// before the buffers swap.
		driver->beginScene(true, true, video::SColor(0xFFFFFFFF));
		device->getSceneManager()->drawAll();
		video::IImage* shot = driver->createScreenShot();
		driver->endScene();
		if (shot)
		{
			driver->writeImageToFile(shot, shotPath);
			shot->drop();
		}
	}
	selector->drop();
	device->drop();
	return 0;
}
