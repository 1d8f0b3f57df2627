#ifndef VISTEL_TEST_LEVEL_H_INCLUDED
#define VISTEL_TEST_LEVEL_H_INCLUDED

#include <irrlicht.h>

namespace vistel
{
namespace test
{

//! The buffers of the small test level, in mesh order.
enum ETestLevelBuffer
{
	ETLB_FLOOR,       //!< solid, a grid below the eye, from z 0 to 200
	ETLB_BACK_WALL,   //!< solid, a grid across the view at z 150
	ETLB_GLASS,       //!< alpha channel, a small grid at z 80 in front of the back wall
	ETLB_BEHIND,      //!< solid, a wall behind the eye at z -100
	ETLB_EMPTY,       //!< lightmapped, without geometry
	ETLB_LEFT_PILLAR, //!< solid, a narrow wall far to the left, outside a forward view
	ETLB_COUNT
};

//! Eye and target of the views the tests draw from.
const irr::core::vector3df TestLevelEye(0.f, 5.f, -20.f);
const irr::core::vector3df TestLevelTarget(0.f, 0.f, 100.f);

//! Triangles of a buffer of the test level.
irr::u32 getTestLevelTriangleCount(ETestLevelBuffer buffer);

//! A new mesh of the test level, in colours from textures of one texel
//! each (made with the driver when one is given); the caller drops it.
irr::scene::SMesh* makeTestLevel(irr::video::IVideoDriver* driver);

} // end namespace test
} // end namespace vistel

#endif
