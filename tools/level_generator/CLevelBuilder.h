// Lays out rooms and corridors on a grid and turns them into primitives.
#ifndef VISTEL_LEVELGEN_CLEVEL_BUILDER_H_INCLUDED
#define VISTEL_LEVELGEN_CLEVEL_BUILDER_H_INCLUDED

#include "SGenLevel.h"

#include <cstdint>

namespace vistel::levelgen
{

struct SBuildOptions
{
	int Rooms = 4;         // number of rooms, laid out row by row on a square grid
	int Detail = 1;        // every wall, floor and ceiling is cut into Detail x Detail quads
	std::uint32_t Seed = 1; // varies the room heights and the light colours
};

class CLevelBuilder
{
public:
	explicit CLevelBuilder(const SBuildOptions& options);

	SGenLevel build();

private:
	struct SDoor
	{
		bool AlongX;     // the wall runs along x (its z is fixed)
		float Fixed;     // the wall's fixed coordinate
		float Centre;    // door centre along the wall
	};

	void addMaterials(SGenLevel& level) const;
	void addRoom(SGenLevel& level, int index, float cx, float cz, bool lShaped,
		const std::vector<SDoor>& doors);
	void addCorridor(SGenLevel& level, int index, float x0, float z0, float x1, float z1, bool alongX);

	std::uint32_t nextRandom();

	SBuildOptions Options;
	std::uint32_t RandomState;
	int NextPrimitiveId = 1;
};

} // namespace vistel::levelgen

#endif
