#ifndef VISTEL_TEST_PREVIEW_TEST_SUPPORT_H_INCLUDED
#define VISTEL_TEST_PREVIEW_TEST_SUPPORT_H_INCLUDED

#include "SPreviewRunState.h"
#include "SPreviewSettings.h"

#include <gtest/gtest.h>
#include <irrlicht.h>
#include <ostream>
#include <vector>

namespace irr
{
namespace core
{

//! Wide engine strings in test failures, readable (ASCII only).
inline void PrintTo(const stringw& text, std::ostream* out)
{
	*out << '"';
	for (u32 i = 0; i < text.size(); ++i)
	{
		const wchar_t c = text[i];
		if (c == L'\n')
			*out << "\\n";
		else
			*out << ((c >= 32 && c < 127) ? static_cast<char>(c) : '?');
	}
	*out << '"';
}

} // end namespace core
} // end namespace irr

namespace vistel
{
namespace test
{

//! A level of one mesh buffer per material type, each holding a floor and a
//! ceiling quad that together span the box.
irr::scene::SAnimatedMesh* makeBoxLevel(const irr::core::aabbox3df& box,
	const std::vector<irr::video::E_MATERIAL_TYPE>& materialTypes);

//! A key event as the engine delivers it.
irr::SEvent makeKeyEvent(irr::EKEY_CODE key, bool pressedDown, bool shift = false);

//! Every preview test starts with default settings, a fresh run state and a
//! null device in it (no window, no display), and ends as the run's
//! tear-down would.
class CPreviewTest : public ::testing::Test
{
protected:
	void SetUp() override;
	void TearDown() override;

	//! Builds the scene from a box level with the current settings.
	bool setUpBoxLevel(const irr::core::aabbox3df& box = irr::core::aabbox3df(-10.f, 0.f, -10.f,
			30.f, 40.f, 50.f),
		const std::vector<irr::video::E_MATERIAL_TYPE>& materialTypes =
			std::vector<irr::video::E_MATERIAL_TYPE>(1, irr::video::EMT_LIGHTMAP_LIGHTING));

	//! The message text's current text, empty without one.
	irr::core::stringw messageText() const;

	//! Whether the camera carries the animator now.
	bool cameraHas(irr::scene::ISceneNodeAnimator* animator) const;

	//! The camera's first-person animator, 0 when it was taken away.
	irr::scene::ISceneNodeAnimator* cameraFPSAnimator() const;

	irr::IrrlichtDevice* Device;
	SPreviewSettings& Settings;
	SPreviewRunState& State;

	CPreviewTest();
};

} // end namespace test
} // end namespace vistel

#endif
