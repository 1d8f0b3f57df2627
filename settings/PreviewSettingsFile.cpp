#include "PreviewSettingsFile.h"
#include "PathParts.h"
#include "../runtime/SPreviewRunState.h"
#include "FileReplacement.h"

#include <cstdio>
#include <cstring>

namespace vistel
{

namespace
{

const char INI_FILE_NAME[] = "tarvo.ini";
const char PLUGIN_DIRECTORY_KEY[] = "pluginfiles=";
const char SETTINGS_FILE_NAME[] = "vistel.cfg";

// Little-endian writer of the file's fields.
class CByteWriter
{
public:
	explicit CByteWriter(std::vector<irr::u8>& out) : Out(out) {}

	void u32(irr::u32 v)
	{
		for (int i = 0; i < 4; ++i)
			Out.push_back(static_cast<irr::u8>(v >> (8 * i)));
	}
	void s32(irr::s32 v) { u32(static_cast<irr::u32>(v)); }
	void f32(irr::f32 v)
	{
		irr::u32 bits;
		std::memcpy(&bits, &v, 4);
		u32(bits);
	}
	void vec(const irr::core::vector3df& v) { f32(v.X); f32(v.Y); f32(v.Z); }
	void flag(bool v) { Out.push_back(v ? 1 : 0); }
	void reserved(size_t count) { Out.insert(Out.end(), count, 0); }
	void text(const irr::core::stringc& s)
	{
		u32(s.size());
		Out.insert(Out.end(), s.c_str(), s.c_str() + s.size());
	}

private:
	std::vector<irr::u8>& Out;
};

// Little-endian reader of the same fields; remembers whether the bytes ended
// early or a path was longer than the limit.
class CByteReader
{
public:
	explicit CByteReader(const std::vector<irr::u8>& in) : In(in), Pos(0), Failed(false) {}

	void u32(irr::u32& v)
	{
		v = 0;
		if (!take(4))
			return;
		for (int i = 0; i < 4; ++i)
			v |= static_cast<irr::u32>(In[Pos - 4 + i]) << (8 * i);
	}
	void s32(irr::s32& v)
	{
		irr::u32 bits;
		u32(bits);
		v = static_cast<irr::s32>(bits);
	}
	void f32(irr::f32& v)
	{
		irr::u32 bits;
		u32(bits);
		std::memcpy(&v, &bits, 4);
	}
	void vec(irr::core::vector3df& v) { f32(v.X); f32(v.Y); f32(v.Z); }
	// Any byte but 0 reads as true: the file is not validated.
	void flag(bool& v) { v = take(1) && In[Pos - 1] != 0; }
	void reserved(size_t count) { take(count); }
	void text(irr::core::stringc& s)
	{
		s = irr::core::stringc();
		irr::u32 length;
		u32(length);
		if (length > MAX_TEXTURE_PATH_LENGTH)
			Failed = true;
		else if (take(length))
			s = irr::core::stringc(reinterpret_cast<const char*>(&In[Pos - length]), length);
	}
	bool failed() const { return Failed; }

private:
	bool take(size_t count)
	{
		if (Failed || In.size() - Pos < count)
		{
			Failed = true;
			return false;
		}
		Pos += count;
		return true;
	}

	const std::vector<irr::u8>& In;
	size_t Pos;
	bool Failed;
};

// The file's layout, written once for both directions: with a CByteWriter
// over a const record it writes, with a CByteReader over a record it reads.
template <class TBytes, class TSettings>
void transferPreviewSettings(TBytes& b, TSettings& s)
{
	b.s32(s.camera.ellipsoidPosition);
	b.flag(s.camera.placeInCenter);
	b.flag(s.camera.useUserPosition);
	b.reserved(2);
	b.vec(s.camera.userPosition);
	b.f32(s.camera.moveSpeed);
	b.f32(s.camera.rotateSpeed);
	b.f32(s.camera.reserved);
	b.f32(s.camera.farValue);
	b.f32(s.camera.nearValue);

	b.flag(s.collision.collisionEnabled);
	b.flag(s.collision.gravityEnabled);
	b.reserved(2);
	b.vec(s.collision.ellipsoidRadius);
	b.f32(s.collision.gravity);
	b.f32(s.collision.reserved);

	b.flag(s.engine.fullscreen);
	b.flag(s.engine.ignoreShadows);
	b.flag(s.engine.selectedOnly);
	b.flag(s.engine.hideMouseCursor);
	b.s32(s.engine.screenHeight);
	b.s32(s.engine.screenWidth);
	b.s32(s.engine.colorBits);
	b.flag(s.engine.useNormalMapping);
	b.reserved(3);
	b.f32(s.engine.reserved);
	b.flag(s.engine.backfaceCulling);
	b.flag(s.engine.wireframe);
	b.reserved(2);

	b.f32(s.fx.reserved);
	b.f32(s.fx.flashlightAngle);
	b.f32(s.fx.flashlightDistance);
	b.f32(s.fx.screenRatioX);
	b.f32(s.fx.screenRatioY);
	b.u32(s.fx.flashlightColor.color);
	b.flag(s.fx.laserMode);
	b.flag(s.fx.useShader);
	b.reserved(2);

	b.f32(s.level.reserved);
	b.s32(s.level.shadowOpacity);
	b.s32(s.level.scaleX);
	b.s32(s.level.scaleY);
	b.s32(s.level.scaleZ);
	b.u32(s.level.backgroundColor.color);
	b.flag(s.level.useSkybox);
	b.flag(s.level.hasTopTexture);
	b.flag(s.level.hasLeftTexture);
	b.flag(s.level.hasCenterTexture);
	b.flag(s.level.hasRightTexture);
	b.flag(s.level.hasBottomTexture);
	b.flag(s.level.hasBackTexture);
	b.text(s.level.topTexture);
	b.text(s.level.leftTexture);
	b.text(s.level.centerTexture);
	b.text(s.level.rightTexture);
	b.text(s.level.bottomTexture);
	b.text(s.level.backTexture);
}

bool startsWith(const char* line, const char* prefix)
{
	return std::strncmp(line, prefix, std::strlen(prefix)) == 0;
}

bool isTrailingPathJunk(char c)
{
	// Line ends and directory separators; a Windows editor's ini may end
	// its directories in a backslash.
	return c == '\n' || c == '\\' || c == PATH_SEPARATOR;
}

// How reading the settings file went.
enum ESettingsFileRead
{
	ESFR_READ,        //!< every byte was read
	ESFR_MISSING,     //!< there is no file, or it could not be opened
	ESFR_READ_FAILED  //!< the file opened, but reading it broke off
};

ESettingsFileRead readWholeFile(const irr::core::stringc& path, std::vector<irr::u8>& out)
{
	FILE* file = std::fopen(path.c_str(), "rb");
	if (!file)
		return ESFR_MISSING;
	// The file holds a few hundred bytes. Whatever the path leads to (a
	// device, a file grown without end) no more than this is read: a longer
	// file is not one of ours, and is left alone like an unreadable one.
	const size_t limit = 64 * 1024;
	irr::u8 chunk[4096];
	size_t count;
	while (out.size() <= limit && (count = std::fread(chunk, 1, sizeof(chunk), file)) > 0)
		out.insert(out.end(), chunk, chunk + count);
	const bool ok = !std::ferror(file) && out.size() <= limit;
	std::fclose(file);
	return ok ? ESFR_READ : ESFR_READ_FAILED;
}

} // end anonymous namespace

irr::core::stringc getPluginDirectory(const irr::core::stringc& settingsDirectory)
{
	irr::core::stringc iniPath = settingsDirectory;
	iniPath += PATH_SEPARATOR;
	iniPath += INI_FILE_NAME;

	FILE* ini = std::fopen(iniPath.c_str(), "r");
	if (ini)
	{
		// One read takes at most 4095 characters; the rest of a longer line
		// arrives as the next entry.
		char line[4096];
		bool found = false;
		irr::core::stringc value;
		while (std::fgets(line, sizeof(line), ini))
		{
			if (found || !startsWith(line, PLUGIN_DIRECTORY_KEY))
				continue;
			size_t length = std::strlen(line);
			// A CR LF line end reads as one line feed, as text mode does on
			// the editor's own system.
			if (length >= 2 && line[length - 2] == '\r' && line[length - 1] == '\n')
			{
				line[length - 2] = '\n';
				line[--length] = 0;
			}
			const size_t keyLength = std::strlen(PLUGIN_DIRECTORY_KEY);
			while (length > keyLength && isTrailingPathJunk(line[length - 1]))
				--length;
			value = irr::core::stringc(line + keyLength, static_cast<irr::u32>(length - keyLength));
			found = true;
		}
		std::fclose(ini);
		if (found)
			return value;
	}

	irr::core::stringc fallback = settingsDirectory;
	fallback += PATH_SEPARATOR;
	fallback += "Plugins";
	return fallback;
}

irr::core::stringc getPreviewSettingsPath(const irr::core::stringc& settingsDirectory)
{
	irr::core::stringc path = getPluginDirectory(settingsDirectory);
	path += PATH_SEPARATOR;
	path += SETTINGS_FILE_NAME;
	return path;
}

std::vector<irr::u8> encodePreviewSettings(const SPreviewSettings& settings)
{
	std::vector<irr::u8> bytes;
	bytes.reserve(EMPTY_PATHS_FILE_SIZE);
	CByteWriter writer(bytes);
	transferPreviewSettings(writer, settings);
	return bytes;
}

bool decodePreviewSettings(const std::vector<irr::u8>& bytes, SPreviewSettings& out)
{
	// Read into a fresh record so that a broken file never mixes read and
	// earlier values.
	SPreviewSettings settings = SPreviewSettings();
	CByteReader reader(bytes);
	transferPreviewSettings(reader, settings);
	if (reader.failed())
		return false;
	out = settings;
	return true;
}

void loadPreviewSettings(const irr::core::stringc& settingsDirectory)
{
	const irr::core::stringc path = getPreviewSettingsPath(settingsDirectory);
	std::vector<irr::u8> bytes;
	switch (readWholeFile(path, bytes))
	{
	case ESFR_READ:
		// A damaged file gives the defaults but stays on disk as it is; only
		// an explicit save replaces it.
		if (!decodePreviewSettings(bytes, getPreviewSettings()))
			getPreviewSettings() = makeDefaultPreviewSettings();
		break;
	case ESFR_READ_FAILED:
		// The user's file is there but could not be read this time: it may
		// well be intact, so it is not overwritten with the defaults.
		getPreviewSettings() = makeDefaultPreviewSettings();
		break;
	case ESFR_MISSING:
		getPreviewSettings() = makeDefaultPreviewSettings();
		savePreviewSettings(settingsDirectory);
		break;
	}
	getPreviewRunState().quitRequested = false;
}

void savePreviewSettings(const irr::core::stringc& settingsDirectory)
{
	const irr::core::stringc path = getPreviewSettingsPath(settingsDirectory);
	const std::vector<irr::u8> bytes = encodePreviewSettings(getPreviewSettings());
	// A file that cannot be written is left as it is; the platform logs it
	// and the settings stay in memory for this run.
	platform::replaceFileContents(path.c_str(), bytes.data(), bytes.size());
}

} // end namespace vistel
