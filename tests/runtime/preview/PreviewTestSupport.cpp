#include "PreviewTestSupport.h"

#include "CRecordingPlatform.h"
#include "IPlatform.h"
#include "SceneSetUp.h"

using namespace irr;

namespace vistel
{
namespace test
{

namespace
{

void addQuad(scene::SMeshBufferLightMap* buffer, f32 y, const core::aabbox3df& box)
{
	const u16 first = static_cast<u16>(buffer->Vertices.size());
	const f32 xs[4] = { box.MinEdge.X, box.MaxEdge.X, box.MaxEdge.X, box.MinEdge.X };
	const f32 zs[4] = { box.MinEdge.Z, box.MinEdge.Z, box.MaxEdge.Z, box.MaxEdge.Z };
	for (int i = 0; i < 4; ++i)
		buffer->Vertices.push_back(video::S3DVertex2TCoords(xs[i], y, zs[i], 0.f, 1.f, 0.f,
			video::SColor(0xFFFFFFFF), 0.f, 0.f, 0.f, 0.f));
	const u16 indices[6] = { 0, 1, 2, 0, 2, 3 };
	for (int i = 0; i < 6; ++i)
		buffer->Indices.push_back(static_cast<u16>(first + indices[i]));
}

} // end anonymous namespace

scene::SAnimatedMesh* makeBoxLevel(const core::aabbox3df& box,
	const std::vector<video::E_MATERIAL_TYPE>& materialTypes)
{
	scene::SMesh* mesh = new scene::SMesh();
	for (size_t i = 0; i < materialTypes.size(); ++i)
	{
		scene::SMeshBufferLightMap* buffer = new scene::SMeshBufferLightMap();
		addQuad(buffer, box.MinEdge.Y, box);
		addQuad(buffer, box.MaxEdge.Y, box);
		buffer->Material.MaterialType = materialTypes[i];
		buffer->recalculateBoundingBox();
		mesh->addMeshBuffer(buffer);
		buffer->drop();
	}
	mesh->recalculateBoundingBox();
	scene::SAnimatedMesh* animated = new scene::SAnimatedMesh(mesh);
	mesh->drop();
	return animated;
}

SEvent makeKeyEvent(EKEY_CODE key, bool pressedDown, bool shift)
{
	SEvent event;
	event.EventType = EET_KEY_INPUT_EVENT;
	event.KeyInput.Char = 0;
	event.KeyInput.Key = key;
	event.KeyInput.PressedDown = pressedDown;
	event.KeyInput.Shift = shift;
	event.KeyInput.Control = false;
	return event;
}

CPreviewTest::CPreviewTest()
	: Device(0), Settings(getPreviewSettings()), State(getPreviewRunState())
{
}

void CPreviewTest::SetUp()
{
	Settings = makeDefaultPreviewSettings();
	State.clearRunReferences();
	State.messageTime = 0.f;
	platform::getRecordingPlatform() = platform::CRecordingPlatform();
	platform::setPlatform(0);

	SIrrlichtCreationParameters parameters;
	parameters.DriverType = video::EDT_NULL;
	parameters.WindowSize = core::dimension2d<u32>(640, 480);
	parameters.LoggingLevel = ELL_NONE;
	Device = createDeviceEx(parameters);
	ASSERT_TRUE(Device != 0);
	State.device = Device;
	State.timer = Device->getTimer();
}

void CPreviewTest::TearDown()
{
	if (State.triangleSelector)
		State.triangleSelector->drop();
	if (State.collisionAnimator)
		State.collisionAnimator->drop();
	State.clearRunReferences();
	if (Device)
		Device->drop();
	Device = 0;
}

bool CPreviewTest::setUpBoxLevel(const core::aabbox3df& box,
	const std::vector<video::E_MATERIAL_TYPE>& materialTypes)
{
	scene::SAnimatedMesh* level = makeBoxLevel(box, materialTypes);
	const bool made = setUpScene(Device, level, Settings, "/editor/");
	level->drop();
	return made;
}

core::stringw CPreviewTest::messageText() const
{
	return State.messageText ? core::stringw(State.messageText->getText()) : core::stringw();
}

bool CPreviewTest::cameraHas(scene::ISceneNodeAnimator* animator) const
{
	const core::list<scene::ISceneNodeAnimator*>& animators = State.camera->getAnimators();
	for (core::list<scene::ISceneNodeAnimator*>::ConstIterator it = animators.begin();
		it != animators.end(); ++it)
		if (*it == animator)
			return true;
	return false;
}

scene::ISceneNodeAnimator* CPreviewTest::cameraFPSAnimator() const
{
	const core::list<scene::ISceneNodeAnimator*>& animators = State.camera->getAnimators();
	for (core::list<scene::ISceneNodeAnimator*>::ConstIterator it = animators.begin();
		it != animators.end(); ++it)
		if ((*it)->getType() == scene::ESNAT_CAMERA_FPS)
			return *it;
	return 0;
}

} // end namespace test
} // end namespace vistel
