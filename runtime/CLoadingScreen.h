#ifndef VISTEL_C_LOADING_SCREEN_H_INCLUDED
#define VISTEL_C_LOADING_SCREEN_H_INCLUDED

#include "ILoadProgress.h"

#include <irrString.h>

namespace irr
{
class IrrlichtDevice;
}

namespace vistel
{

//! The texts of the loading screen for a progress report.
struct SLoadingScreenTexts
{
	irr::core::stringw Stage;     //!< what is being done, with the bytes read while reading
	irr::core::stringw Triangles; //!< the level's triangles so far
	irr::core::stringw Caption;   //!< the window's title: the whole load's share done
	irr::f32 Done = 0.f;          //!< the whole load's share done, 0 to 1
};

//! Whether the loading screen draws again at now (milliseconds), its last
//! picture begun at lastDrawn, its pictures taking drawCost to draw (see
//! CPictureCosts). Pictures come at most every CLoadingScreen::RedrawInterval,
//! and no sooner than drawCost times DrawCostFactor: where pictures are dear
//! (a software renderer, a slow machine) the load still gets most of the time.
bool isLoadingPictureDue(irr::u32 now, irr::u32 lastDrawn, irr::u32 drawCost);

//! The cost of the loading screen's recent pictures, in milliseconds, as
//! the pacing uses it: the cheapest of the last few. One dear picture (the
//! thread waited for a core in the middle of it, or a one-time cost of the
//! driver) says nothing of the next one, and by itself it would keep the
//! screen undrawn for DrawCostFactor times its cost; a renderer whose every
//! picture is dear still spaces them out.
class CPictureCosts
{
public:
	void add(irr::u32 cost);
	//! 0 before the first picture.
	irr::u32 getTypical() const;

	static const irr::u32 Kept = 3;

private:
	irr::u32 Costs[Kept] = {};
	irr::u32 Count = 0;
};

//! The share of the whole load done at a report: each stage counts for a
//! fixed part (reading the most), and within it its own share done.
irr::f32 getLoadShareDone(const SLoadProgress& progress);

SLoadingScreenTexts buildLoadingScreenTexts(const SLoadProgress& progress);

//! Shows the load's progress in the preview window while the level is read
//! and built on the window's own thread, and answers the window's messages
//! meanwhile, so that it can be moved and never looks hung. Told often, it
//! pumps at most every RedrawInterval milliseconds and draws when
//! isLoadingPictureDue says so. Closing the window or Escape asks the load
//! to stop.
class CLoadingScreen : public ILoadProgress
{
public:
	//! The device must outlive the screen.
	explicit CLoadingScreen(irr::IrrlichtDevice* device);

	//! Draws the first picture at once: the window has just appeared. Its
	//! cost, which holds the driver's one-time set-up, does not pace the
	//! pictures after it.
	void show();

	bool onLoadProgress(const SLoadProgress& progress) override;

	//! Gives the window back its title of before the load, for the render
	//! loop to fill.
	void finish();

	//! True once the user closed the window or pressed Escape.
	bool isStopped() const { return Stopped; }

	static const irr::u32 RedrawInterval = 40;
	//! Pictures begin at least this many times the last one's cost apart:
	//! drawing takes at most a fifth of the load.
	static const irr::u32 DrawCostFactor = 5;

private:
	//! Draws a picture; returns what it cost in milliseconds.
	irr::u32 draw(const SLoadProgress& progress);

	irr::IrrlichtDevice* Device;
	irr::u32 LastPumped = 0;
	irr::u32 LastDrawn = 0;
	CPictureCosts DrawCosts;
	bool Stopped = false;
	irr::core::stringw LastCaption;
	//! The bytes read, kept for the later stages' pictures.
	unsigned long long BytesRead = 0, BytesTotal = 0;
};

} // end namespace vistel

#endif
