#ifndef VISTEL_TEST_WIDE_INDEX_MESH_H_INCLUDED
#define VISTEL_TEST_WIDE_INDEX_MESH_H_INCLUDED

#include <irrlicht.h>

namespace vistel
{
namespace test
{

//! A copy of a mesh whose buffers hold the same vertices (of their own
//! type), indices, materials and boxes, with 32-bit indices: the buffers a
//! mesh manipulator or another loader may hand over. The caller drops it.
inline irr::scene::SMesh* copyWithWideIndices(irr::scene::IMesh* mesh)
{
	irr::scene::SMesh* copy = new irr::scene::SMesh();
	for (irr::u32 b = 0; b < mesh->getMeshBufferCount(); ++b)
	{
		irr::scene::IMeshBuffer* from = mesh->getMeshBuffer(b);
		irr::scene::CDynamicMeshBuffer* to =
			new irr::scene::CDynamicMeshBuffer(from->getVertexType(), irr::video::EIT_32BIT);
		const irr::u32 pitch = irr::video::getVertexPitchFromType(from->getVertexType());
		for (irr::u32 v = 0; v < from->getVertexCount(); ++v)
			// The vertex list reads a vertex of its own type from the reference.
			to->getVertexBuffer().push_back(*reinterpret_cast<const irr::video::S3DVertex*>(
				static_cast<const irr::u8*>(from->getVertices()) + v * pitch));
		for (irr::u32 i = 0; i < from->getIndexCount(); ++i)
			to->getIndexBuffer().push_back(from->getIndices()[i]);
		to->getMaterial() = from->getMaterial();
		to->setBoundingBox(from->getBoundingBox());
		copy->addMeshBuffer(to);
		to->drop();
	}
	copy->setBoundingBox(mesh->getBoundingBox());
	return copy;
}

} // end namespace test
} // end namespace vistel

#endif
