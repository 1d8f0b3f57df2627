#include "SheetTemplates.h"
#include "SheetResourceIds.h"

#include <iterator>

namespace vistel
{

using namespace platform;

namespace
{

// Shorthands for the tables below.
const unsigned int CENTERED = ESCS_CENTERED;
const unsigned int READ_ONLY = ESCS_READ_ONLY;
const unsigned int DIGITS = ESCS_DIGITS_ONLY;
const unsigned int TICKS = ESCS_TICKS;
const unsigned int UPRIGHT = ESCS_VERTICAL | ESCS_TICKS;

// The contact line must read as the plug-in's PluginEmail text.
const SSheetControlTemplate ABOUT_CONTROLS[] = {
	{ ESCK_GROUP, EABT_FRAME, "Irrlicht Tarvo Vistel by Quennel 'Brisko'", 7, 5, 316, 202, 0, 0 },
	{ ESCK_PICTURE, EABT_LOGO, 0, 14, 17, 160, 44, 0, ESI_ABOUT_LOGO },
	{ ESCK_TEXT, EABT_TITLE_TEXT,
		"Irrlicht Tarvo Vistel\n"
		" Version:2.0.0 \n"
		"\n"
		" \n"
		" Info: vistel@tarvo-plugins.invalid\n"
		"\n",
		178, 17, 138, 48, CENTERED, 0 },
	{ ESCK_TEXT, EABT_HELP_TEXT,
		"Help:\n"
		"Using this settings dialog configure rendering engine and then click OK to start.\n"
		"You can change a lot of options from camera position to resolution and collision "
		"ellipsoid properties.\n",
		14, 68, 302, 44, 0, 0 },
	{ ESCK_TEXT, EABT_COMMANDS_TEXT,
		"RealTime Commands:\n"
		"You can use your mouse to rotate camera and standard WASD or arrows to walk around. "
		"Press ESC or ALT+F4 to close engine.\n"
		"Press F to toggle flashlight or laser.\n"
		"Press C to reset camera position.\n"
		"Press P for screenshot.",
		14, 116, 150, 86, 0, 0 },
	{ ESCK_TEXT, EABT_MORE_COMMANDS_TEXT,
		"Press B to toggle backface culling.\n"
		"Press M to toggle wireframe mode.\n"
		"Press G to toggle gravity.\n"
		"Press K to toggle collisions.\n"
		"Press I (i) to show some infos.\n"
		"Press F1 for command help.\n"
		"Please give a look to readme.txt for more infos.",
		170, 116, 146, 86, 0, 0 },
};

// Three columns: the eye height, the start position, speeds and clipping.
const SSheetControlTemplate CAMERA_CONTROLS[] = {
	{ ESCK_GROUP, ECAM_ELLIPSOID_GROUP, "Position in Ellipsoid:", 7, 7, 80, 170, 0, 0 },
	{ ESCK_LABEL, ECAM_TOP_LABEL, "Top", 14, 20, 66, 8, CENTERED, 0 },
	{ ESCK_TRACKBAR, ECAM_ELLIPSOID_TRACKBAR, 0, 34, 30, 26, 108, UPRIGHT, 0 },
	{ ESCK_LABEL, ECAM_BOTTOM_LABEL, "Bottom", 14, 140, 66, 8, CENTERED, 0 },
	{ ESCK_EDIT, ECAM_ELLIPSOID_PERCENT, 0, 24, 155, 46, 14, READ_ONLY, 0 },

	{ ESCK_GROUP, ECAM_START_GROUP, "Camera starting position:", 93, 7, 170, 44, 0, 0 },
	{ ESCK_CHECK_BOX, ECAM_PLACE_IN_CENTER, "Place Camera in the Center of Level", 100, 20, 158, 10, 0, 0 },
	{ ESCK_CHECK_BOX, ECAM_USE_USER_POSITION, "User Defined Position", 100, 34, 158, 10, 0, 0 },
	{ ESCK_GROUP, ECAM_USER_POSITION_GROUP, "Camera User Defined Position:", 93, 57, 170, 120, 0, 0 },
	{ ESCK_LABEL, ECAM_X_LABEL, "X:", 103, 83, 12, 8, 0, 0 },
	{ ESCK_EDIT, ECAM_X_EDIT, 0, 117, 80, 136, 14, 0, 0 },
	{ ESCK_LABEL, ECAM_Y_LABEL, "Y:", 103, 113, 12, 8, 0, 0 },
	{ ESCK_EDIT, ECAM_Y_EDIT, 0, 117, 110, 136, 14, 0, 0 },
	{ ESCK_LABEL, ECAM_Z_LABEL, "Z:", 103, 143, 12, 8, 0, 0 },
	{ ESCK_EDIT, ECAM_Z_EDIT, 0, 117, 140, 136, 14, 0, 0 },

	{ ESCK_GROUP, ECAM_SPEED_GROUP, "Camera Speed:", 269, 7, 141, 82, 0, 0 },
	{ ESCK_GROUP, ECAM_MOVE_SPEED_GROUP, "Move Speed:", 276, 18, 127, 32, 0, 0 },
	{ ESCK_EDIT, ECAM_MOVE_SPEED_EDIT, 0, 283, 31, 113, 14, 0, 0 },
	{ ESCK_GROUP, ECAM_ROTATE_SPEED_GROUP, "Rotate Speed:", 276, 52, 127, 32, 0, 0 },
	{ ESCK_EDIT, ECAM_ROTATE_SPEED_EDIT, 0, 283, 65, 113, 14, 0, 0 },
	{ ESCK_GROUP, ECAM_CLIPPING_GROUP, "Clipping Planes:", 269, 95, 141, 82, 0, 0 },
	{ ESCK_GROUP, ECAM_NEAR_GROUP, "Near Value:", 276, 106, 127, 32, 0, 0 },
	{ ESCK_EDIT, ECAM_NEAR_EDIT, 0, 283, 119, 113, 14, 0, 0 },
	{ ESCK_GROUP, ECAM_FAR_GROUP, "Far Value:", 276, 140, 127, 32, 0, 0 },
	{ ESCK_EDIT, ECAM_FAR_EDIT, 0, 283, 153, 113, 14, 0, 0 },
};

const SSheetControlTemplate COLLISION_CONTROLS[] = {
	{ ESCK_GROUP, ECOL_COLLISION_GROUP, "Collision:", 7, 7, 275, 30, 0, 0 },
	{ ESCK_CHECK_BOX, ECOL_ENABLE_COLLISION, "Enable Collision", 14, 20, 150, 10, 0, 0 },
	{ ESCK_GROUP, ECOL_ELLIPSOID_GROUP, "Collision Ellipsoid Values:", 7, 43, 275, 52, 0, 0 },
	{ ESCK_GROUP, ECOL_X_RADIUS_GROUP, "X Radius:", 14, 55, 84, 33, 0, 0 },
	{ ESCK_EDIT, ECOL_X_RADIUS_EDIT, 0, 20, 68, 72, 14, 0, 0 },
	{ ESCK_GROUP, ECOL_Y_RADIUS_GROUP, "Y Radius:", 102, 55, 84, 33, 0, 0 },
	{ ESCK_EDIT, ECOL_Y_RADIUS_EDIT, 0, 108, 68, 72, 14, 0, 0 },
	{ ESCK_GROUP, ECOL_Z_RADIUS_GROUP, "Z Radius:", 190, 55, 85, 33, 0, 0 },
	{ ESCK_EDIT, ECOL_Z_RADIUS_EDIT, 0, 196, 68, 73, 14, 0, 0 },
	{ ESCK_GROUP, ECOL_GRAVITY_GROUP, "Gravity:", 7, 101, 275, 64, 0, 0 },
	{ ESCK_CHECK_BOX, ECOL_ENABLE_GRAVITY, "Enable Gravity", 14, 114, 150, 10, 0, 0 },
	{ ESCK_GROUP, ECOL_GRAVITY_VALUE_GROUP, "Gravity Value:", 14, 127, 130, 32, 0, 0 },
	{ ESCK_EDIT, ECOL_GRAVITY_EDIT, 0, 20, 140, 118, 14, 0, 0 },
};

const SSheetControlTemplate ENGINE_CONTROLS[] = {
	{ ESCK_GROUP, EENG_SCREEN_GROUP, "Screen Settings:", 7, 7, 150, 112, 0, 0 },
	{ ESCK_GROUP, EENG_RESOLUTION_GROUP, "Resolution:", 14, 18, 136, 32, 0, 0 },
	{ ESCK_DROP_DOWN_LIST, EENG_RESOLUTION_LIST, 0, 21, 31, 122, 14, 0, 0 },
	{ ESCK_GROUP, EENG_DEVICE_GROUP, "Device:", 14, 54, 136, 32, 0, 0 },
	{ ESCK_DROP_DOWN_LIST, EENG_DEVICE_LIST, 0, 21, 67, 122, 14, 0, 0 },
	{ ESCK_CHECK_BOX, EENG_FULLSCREEN, "Fullscreen", 21, 96, 122, 10, 0, 0 },
	{ ESCK_GROUP, EENG_MISCELLANEOUS_GROUP, "Miscellaneous Settings:", 164, 7, 157, 112, 0, 0 },
	{ ESCK_CHECK_BOX, EENG_IGNORE_SHADOWS, "Ignore Shadows", 172, 22, 142, 10, 0, 0 },
	{ ESCK_CHECK_BOX, EENG_HIDE_MOUSE_CURSOR, "Hide Mouse Cursor", 172, 40, 142, 10, 0, 0 },
	{ ESCK_CHECK_BOX, EENG_BACKFACE_CULLING, "Enable BackFace Culling", 172, 58, 142, 10, 0, 0 },
	{ ESCK_CHECK_BOX, EENG_WIREFRAME, "Enable Wireframe Mode", 172, 76, 142, 10, 0, 0 },
	{ ESCK_CHECK_BOX, EENG_NORMAL_MAPPING, "Use Normal Mapping", 172, 94, 142, 10, 0, 0 },
	{ ESCK_GROUP, EENG_TARVO_GROUP, "Tarvo Settings:", 7, 125, 314, 36, 0, 0 },
	{ ESCK_CHECK_BOX, EENG_SELECTED_ONLY, "Preview Only Selected Objects", 14, 140, 200, 10, 0, 0 },
};

// Left: the four percentages; right: the background colour and the sky box
// faces as a cross.
const SSheetControlTemplate LEVEL_CONTROLS[] = {
	{ ESCK_GROUP, ELEV_SHADOW_GROUP, "Shadow Opacity:", 7, 7, 143, 34, 0, 0 },
	{ ESCK_TRACKBAR, ELEV_SHADOW_TRACKBAR, 0, 11, 18, 96, 20, TICKS, 0 },
	{ ESCK_EDIT, ELEV_SHADOW_PERCENT, 0, 110, 21, 34, 14, READ_ONLY, 0 },
	{ ESCK_GROUP, ELEV_SCALING_GROUP, "Level Scaling:", 7, 46, 143, 129, 0, 0 },
	{ ESCK_GROUP, ELEV_SCALE_X_GROUP, "X:", 12, 57, 133, 36, 0, 0 },
	{ ESCK_TRACKBAR, ELEV_SCALE_X_TRACKBAR, 0, 15, 68, 92, 20, TICKS, 0 },
	{ ESCK_EDIT, ELEV_SCALE_X_PERCENT, 0, 110, 71, 30, 14, READ_ONLY, 0 },
	{ ESCK_GROUP, ELEV_SCALE_Y_GROUP, "Y:", 12, 96, 133, 36, 0, 0 },
	{ ESCK_TRACKBAR, ELEV_SCALE_Y_TRACKBAR, 0, 15, 107, 92, 20, TICKS, 0 },
	{ ESCK_EDIT, ELEV_SCALE_Y_PERCENT, 0, 110, 110, 30, 14, READ_ONLY, 0 },
	{ ESCK_GROUP, ELEV_SCALE_Z_GROUP, "Z:", 12, 135, 133, 36, 0, 0 },
	{ ESCK_TRACKBAR, ELEV_SCALE_Z_TRACKBAR, 0, 15, 146, 92, 20, TICKS, 0 },
	{ ESCK_EDIT, ELEV_SCALE_Z_PERCENT, 0, 110, 149, 30, 14, READ_ONLY, 0 },

	{ ESCK_GROUP, ELEV_BACKGROUND_GROUP, "Background:", 157, 7, 130, 50, 0, 0 },
	{ ESCK_GROUP, ELEV_COLOR_GROUP, "Select Colour:", 163, 18, 118, 33, 0, 0 },
	{ ESCK_COLOR_SWATCH, ELEV_COLOR_SWATCH, 0, 170, 31, 42, 14, 0, 0 },
	{ ESCK_BUTTON, ELEV_CHANGE_COLOR, "Change...", 218, 31, 56, 14, 0, 0 },
	{ ESCK_GROUP, ELEV_SKYBOX_GROUP, "Load a Skybox to Use:", 157, 62, 130, 113, 0, 0 },
	{ ESCK_CHECK_BOX, ELEV_USE_SKYBOX, "Use Skybox", 164, 75, 110, 10, 0, 0 },
	{ ESCK_BUTTON, ELEV_TOP_TEXTURE, "Top Texture...", 182, 90, 80, 14, 0, 0 },
	{ ESCK_BUTTON, ELEV_LEFT_TEXTURE, "Left", 164, 108, 37, 14, 0, 0 },
	{ ESCK_BUTTON, ELEV_CENTER_TEXTURE, "Center", 204, 108, 37, 14, 0, 0 },
	{ ESCK_BUTTON, ELEV_RIGHT_TEXTURE, "Right", 244, 108, 37, 14, 0, 0 },
	{ ESCK_BUTTON, ELEV_BOTTOM_TEXTURE, "Bottom Texture...", 182, 126, 80, 14, 0, 0 },
	{ ESCK_BUTTON, ELEV_BACK_TEXTURE, "BackTexture...", 182, 144, 80, 14, 0, 0 },
};

// Wider than the other pages' proportions: the four long labels sit beside
// their fields.
const SSheetControlTemplate FX_CONTROLS[] = {
	{ ESCK_GROUP, EFX_FLASHLIGHT_GROUP, "Flashlight Fx Settings:", 4, 4, 197, 88, 0, 0 },
	{ ESCK_LABEL, EFX_ANGLE_LABEL, "Maximum opening angle (degrees):", 10, 18, 128, 8, 0, 0 },
	{ ESCK_EDIT, EFX_ANGLE_EDIT, 0, 140, 15, 55, 14, 0, 0 },
	{ ESCK_LABEL, EFX_DISTANCE_LABEL, "Maximum distance of visible objs:", 10, 36, 128, 8, 0, 0 },
	{ ESCK_EDIT, EFX_DISTANCE_EDIT, 0, 140, 33, 55, 14, 0, 0 },
	{ ESCK_LABEL, EFX_RATIO_X_LABEL, "X value of screen ratio (4 for 4:3):", 10, 54, 128, 8, 0, 0 },
	{ ESCK_EDIT, EFX_RATIO_X_EDIT, 0, 140, 51, 55, 14, DIGITS, 0 },
	{ ESCK_LABEL, EFX_RATIO_Y_LABEL, "Y value of screen ratio (3 for 4:3):", 10, 72, 128, 8, 0, 0 },
	{ ESCK_EDIT, EFX_RATIO_Y_EDIT, 0, 140, 69, 55, 14, DIGITS, 0 },
	{ ESCK_GROUP, EFX_COLOR_GROUP, "Select Colour:", 4, 95, 197, 28, 0, 0 },
	{ ESCK_COLOR_SWATCH, EFX_COLOR_SWATCH, 0, 10, 106, 50, 13, 0, 0 },
	{ ESCK_BUTTON, EFX_CHANGE_COLOR, "Change...", 140, 106, 55, 14, 0, 0 },
	{ ESCK_GROUP, EFX_LASER_GROUP, "Laser Mode:", 4, 126, 197, 37, 0, 0 },
	{ ESCK_CHECK_BOX, EFX_LASER_MODE, "Enable Laser Mode", 10, 137, 185, 10, 0, 0 },
	{ ESCK_CHECK_BOX, EFX_USE_SHADER, "Use this Shader if your hardware supports it.", 10, 149, 185, 10, 0, 0 },
};

const SSheetPageTemplate PAGES[] = {
	{ ESPT_ABOUT, "About...", 330, 212, ABOUT_CONTROLS, std::size(ABOUT_CONTROLS) },
	{ ESPT_CAMERA, "Camera Settings", 417, 184, CAMERA_CONTROLS, std::size(CAMERA_CONTROLS) },
	{ ESPT_COLLISION, "Collision Settings", 289, 207, COLLISION_CONTROLS, std::size(COLLISION_CONTROLS) },
	{ ESPT_ENGINE, "Engine Settings", 328, 168, ENGINE_CONTROLS, std::size(ENGINE_CONTROLS) },
	{ ESPT_LEVEL, "Level Settings", 294, 182, LEVEL_CONTROLS, std::size(LEVEL_CONTROLS) },
	{ ESPT_FX, "FX Settings", 205, 166, FX_CONTROLS, std::size(FX_CONTROLS) },
};

const SSheetTemplateSet TEMPLATES = { PAGES, std::size(PAGES) };

} // end anonymous namespace

const SSheetTemplateSet& getSheetTemplates()
{
	return TEMPLATES;
}

} // end namespace vistel
