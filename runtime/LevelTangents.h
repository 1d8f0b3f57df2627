#ifndef VISTEL_LEVEL_TANGENTS_H_INCLUDED
#define VISTEL_LEVEL_TANGENTS_H_INCLUDED

namespace irr
{
namespace scene
{
class IMesh;
class IMeshManipulator;
}
}

namespace vistel
{

class ILoadProgress;

//! A copy of the mesh with tangent vertices, the same as the engine's
//! createMeshWithTangents with its default arguments gives: per buffer, the
//! vertices in the order its indices first use them, vertices that compare
//! equal merged into one, and the engine's tangents and binormals (without
//! recalculated normals, not smoothed). The copy is made in small pieces
//! that tell progress how far it got (the building stage), so that a level
//! of millions of triangles never keeps the window waiting for seconds.
/** Indices are read as their type says; the copy's buffers have 16-bit
indices, as the engine's have.
\return the copy, with one reference for the caller; 0 without a mesh or
when progress asked to stop (nothing of the copy is kept then). */
irr::scene::IMesh* createLevelMeshWithTangents(irr::scene::IMesh* mesh,
	const irr::scene::IMeshManipulator* manipulator, ILoadProgress* progress = 0);

} // end namespace vistel

#endif
