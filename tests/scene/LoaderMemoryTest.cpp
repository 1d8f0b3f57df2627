// A level too large for the memory there is: the loader's createMesh is
// called by the engine's getMesh, which an exception would leave with the
// file still open. The loader reports the load as failed and releases what
// it had built. This program fails every allocation above a size the test
// sets, so it has a global operator new of its own.

#include "SceneTestSupport.h"

#include <cstdlib>
#include <limits>
#include <new>

namespace
{

std::size_t largestAllocation = std::numeric_limits<std::size_t>::max();

} // end anonymous namespace

void* operator new(std::size_t size)
{
	if (size > largestAllocation)
		throw std::bad_alloc();
	if (void* memory = std::malloc(size ? size : 1))
		return memory;
	throw std::bad_alloc();
}

// Not inlined: GCC would take the free of memory from this operator new for
// a mismatch where it sees both.
__attribute__((noinline)) void operator delete(void* memory) noexcept
{
	std::free(memory);
}

__attribute__((noinline)) void operator delete(void* memory, std::size_t) noexcept
{
	std::free(memory);
}

namespace vistel
{
namespace test
{
namespace
{

class LoaderMemoryTest : public SceneLoaderTest
{
protected:
	void SetUp() override
	{
		SceneLoaderTest::SetUp();
		usePreviewParameters();
		provideTexture("tex/a.tga");
	}
	void TearDown() override
	{
		largestAllocation = std::numeric_limits<std::size_t>::max();
		SceneLoaderTest::TearDown();
	}
};

// 10,000 triangles: their buffer's vertices alone take more than a mebibyte.
std::string largeLevel()
{
	std::vector<irr::core::vector3df> positions;
	std::string polygons = "<polygons>";
	for (int i = 0; i < 10000; ++i)
	{
		const float x = static_cast<float>(i);
		positions.push_back(irr::core::vector3df(x, 0, 0));
		positions.push_back(irr::core::vector3df(x + 1, 0, 0));
		positions.push_back(irr::core::vector3df(x, 1, 0));
		polygons += polyElement(1, {3 * i, 3 * i + 1, 3 * i + 2});
	}
	return sceneDocument(textureMaterial(1, "a.tga"),
		primitiveElement(vertexList(positions) + polygons + "</polygons>"));
}

TEST_F(LoaderMemoryTest, LevelTooLargeForTheMemoryIsAFailedLoad)
{
	const std::string document = largeLevel();
	largestAllocation = 1024 * 1024;
	EXPECT_EQ(load(document), nullptr);
	largestAllocation = std::numeric_limits<std::size_t>::max();
	EXPECT_EQ(Loader->getLastLoadFault(), "there is not enough memory to load it");

	// The loader is whole again: the same level loads once memory allows.
	irr::scene::IAnimatedMesh* mesh = load(document);
	ASSERT_NE(mesh, nullptr);
	ASSERT_EQ(mesh->getFrameCount(), 1u);
	EXPECT_EQ(mesh->getMesh(0)->getMeshBuffer(0)->getIndexCount(), 30000u);
	EXPECT_EQ(Loader->getLastLoadFault(), "");
}

} // end anonymous namespace
} // end namespace test
} // end namespace vistel
