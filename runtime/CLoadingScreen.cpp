#include "CLoadingScreen.h"

#include "SPreviewRunState.h"

#include <irrlicht.h>

#include <cstdio>
#include <cstring>

using namespace irr;

namespace vistel
{

namespace
{

// The parts of the whole load each stage counts for, about as the time
// goes on a large level.
const f32 STAGE_SHARES[ELS_COUNT] = {0.75f, 0.15f, 0.10f};

const wchar_t* const STAGE_NAMES[ELS_COUNT] = {L"Reading the level", L"Building the mesh",
	L"Building the collision data"};

const video::SColor BACKGROUND(255, 24, 28, 36);
const video::SColor TEXT_COLOUR(255, 230, 230, 230);
const video::SColor BAR_FRAME(255, 160, 160, 170);
const video::SColor BAR_FILL(255, 90, 150, 230);

// A whole number with a comma between thousands.
core::stringw groupThousands(unsigned long long value)
{
	char digits[32];
	std::snprintf(digits, sizeof(digits), "%llu", value);
	core::stringw text;
	const std::size_t length = std::strlen(digits);
	for (std::size_t i = 0; i < length; ++i)
	{
		if (i > 0 && (length - i) % 3 == 0)
			text += L',';
		text += static_cast<wchar_t>(digits[i]);
	}
	return text;
}

f32 clampShare(f32 share)
{
	return share < 0.f ? 0.f : (share > 1.f ? 1.f : share);
}

} // end anonymous namespace

void CPictureCosts::add(u32 cost)
{
	Costs[Count % Kept] = cost;
	++Count;
}

u32 CPictureCosts::getTypical() const
{
	if (Count == 0)
		return 0;
	const u32 kept = Count < Kept ? Count : Kept;
	u32 typical = Costs[0];
	for (u32 i = 1; i < kept; ++i)
		typical = Costs[i] < typical ? Costs[i] : typical;
	return typical;
}

bool isLoadingPictureDue(u32 now, u32 lastDrawn, u32 drawCost)
{
	const u32 costSpacing = drawCost * CLoadingScreen::DrawCostFactor;
	const u32 spacing = costSpacing > CLoadingScreen::RedrawInterval ? costSpacing
		: CLoadingScreen::RedrawInterval;
	return now - lastDrawn >= spacing;
}

f32 getLoadShareDone(const SLoadProgress& progress)
{
	const u32 stage = progress.Stage < ELS_COUNT ? progress.Stage : ELS_COUNT - 1;
	f32 done = 0.f;
	for (u32 s = 0; s < stage; ++s)
		done += STAGE_SHARES[s];
	return clampShare(done + STAGE_SHARES[stage] * clampShare(progress.StageDone));
}

SLoadingScreenTexts buildLoadingScreenTexts(const SLoadProgress& progress)
{
	SLoadingScreenTexts texts;
	texts.Done = getLoadShareDone(progress);
	const u32 stage = progress.Stage < ELS_COUNT ? progress.Stage : ELS_COUNT - 1;
	texts.Stage = STAGE_NAMES[stage];
	if (progress.Stage == ELS_READING && progress.BytesTotal > 0)
	{
		const unsigned long long mebibyte = 1ull << 20;
		texts.Stage += L": ";
		texts.Stage += groupThousands(progress.BytesRead / mebibyte);
		texts.Stage += L" of ";
		texts.Stage += groupThousands((progress.BytesTotal + mebibyte - 1) / mebibyte);
		texts.Stage += L" MB";
	}
	texts.Triangles = groupThousands(progress.Triangles);
	texts.Triangles += L" triangles";
	texts.Caption = L"Loading the level: ";
	texts.Caption += static_cast<s32>(texts.Done * 100.f);
	texts.Caption += L"%";
	return texts;
}

CLoadingScreen::CLoadingScreen(IrrlichtDevice* device) : Device(device)
{
}

void CLoadingScreen::show()
{
	draw(SLoadProgress());
}

void CLoadingScreen::finish()
{
	if (!LastCaption.empty())
		Device->setWindowCaption(L"");
	LastCaption = L"";
}

bool CLoadingScreen::onLoadProgress(const SLoadProgress& progress)
{
	if (Stopped)
		return false;
	if (progress.Stage == ELS_READING)
	{
		BytesRead = progress.BytesRead;
		BytesTotal = progress.BytesTotal;
	}
	const u32 now = Device->getTimer()->getRealTime();
	if (now - LastPumped < RedrawInterval)
		return true;
	LastPumped = now;
	// The window's messages: moving, closing, keys. Escape is a command of
	// the event receiver, which marks the run to end.
	if (!Device->run() || getPreviewRunState().quitRequested)
	{
		Stopped = true;
		return false;
	}
	if (isLoadingPictureDue(now, LastDrawn, DrawCosts.getTypical()))
		DrawCosts.add(draw(progress));
	return true;
}

u32 CLoadingScreen::draw(const SLoadProgress& progress)
{
	LastDrawn = Device->getTimer()->getRealTime();
	SLoadProgress shown = progress;
	shown.BytesRead = BytesRead;
	shown.BytesTotal = BytesTotal;
	const SLoadingScreenTexts texts = buildLoadingScreenTexts(shown);
	if (texts.Caption != LastCaption)
	{
		Device->setWindowCaption(texts.Caption.c_str());
		LastCaption = texts.Caption;
	}

	video::IVideoDriver* driver = Device->getVideoDriver();
	gui::IGUIFont* font = Device->getGUIEnvironment()->getBuiltInFont();
	const core::dimension2d<u32> size = driver->getScreenSize();
	const s32 width = static_cast<s32>(size.Width), height = static_cast<s32>(size.Height);
	const s32 barWidth = width * 3 / 5, barHeight = 16;
	const s32 left = (width - barWidth) / 2, top = height / 2 - barHeight / 2;
	const s32 lineHeight = 20;

	driver->beginScene(true, true, BACKGROUND);
	if (font)
	{
		font->draw(texts.Stage, core::rect<s32>(0, top - 2 * lineHeight, width, top - lineHeight),
			TEXT_COLOUR, true, true);
		font->draw(texts.Triangles,
			core::rect<s32>(0, top + barHeight + lineHeight / 2, width, top + barHeight + 3 * lineHeight / 2),
			TEXT_COLOUR, true, true);
		font->draw(L"Escape stops the loading.",
			core::rect<s32>(0, height - 2 * lineHeight, width, height - lineHeight), BAR_FRAME, true, true);
	}
	driver->draw2DRectangleOutline(core::rect<s32>(left - 2, top - 2, left + barWidth + 2, top + barHeight + 2),
		BAR_FRAME);
	const s32 filled = static_cast<s32>(static_cast<f32>(barWidth) * texts.Done);
	if (filled > 0)
		driver->draw2DRectangle(BAR_FILL, core::rect<s32>(left, top, left + filled, top + barHeight));
	driver->endScene();
	return Device->getTimer()->getRealTime() - LastDrawn;
}

} // end namespace vistel
