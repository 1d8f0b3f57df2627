// The built library as a host sees it: found by name, texts that stay put.

#include <gtest/gtest.h>
#include <cstring>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace
{

#ifdef _WIN32
void* openLibrary(const char* path)
{
	return reinterpret_cast<void*>(LoadLibraryA(path));
}

void* findEntry(void* library, const char* name)
{
	return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

std::string describeFailure()
{
	return "LoadLibraryA failed with error " + std::to_string(GetLastError());
}
#else
void* openLibrary(const char* path)
{
	return dlopen(path, RTLD_NOW | RTLD_LOCAL);
}

void* findEntry(void* library, const char* name)
{
	return dlsym(library, name);
}

std::string describeFailure()
{
	return dlerror();
}
#endif

#if defined(_WIN32) && !defined(_WIN64)
typedef const char* (__stdcall *TextFunction)(void);
#else
typedef const char* (*TextFunction)(void);
#endif

struct SText
{
	const char* Entry;
	const char* Expected; // 0: any non-empty text
};

const SText TEXTS[] = {
	{ "PluginName", "Tarvo Vistel Plugin" },
	{ "PluginDescription", "This is just a plugin using Irrlicht to show a Tarvo level." },
	{ "PluginTarvoVersion", "1.6" },
	{ "PluginVersion", "2.0" },
	{ "PluginAuthor", "Quennel" },
	{ "PluginEmail", 0 },
};

} // end anonymous namespace

TEST(PluginLibrary, EntryPointsAndStableTexts)
{
	void* library = openLibrary(VISTEL_PLUGIN_LIBRARY);
	ASSERT_TRUE(library) << describeFailure();
	EXPECT_TRUE(findEntry(library, "PluginExecute"));
	EXPECT_TRUE(findEntry(library, "PluginSetCallback"));
	for (size_t i = 0; i < sizeof(TEXTS) / sizeof(TEXTS[0]); ++i)
	{
		TextFunction entry = reinterpret_cast<TextFunction>(findEntry(library, TEXTS[i].Entry));
		ASSERT_TRUE(entry) << TEXTS[i].Entry;
		const char* first = entry();
		const char* second = entry();
		EXPECT_EQ(first, second) << TEXTS[i].Entry << " must return the same text each time";
		if (TEXTS[i].Expected)
		{
			EXPECT_STREQ(first, TEXTS[i].Expected);
		}
		ASSERT_GT(std::strlen(first), 0u);
		EXPECT_NE(first[std::strlen(first) - 1], '\n') << TEXTS[i].Entry;
	}
	// Nothing of the library's own leaks out under another name.
	EXPECT_FALSE(findEntry(library, "_ZN6vistel10runPreviewEv"));
	// The host keeps the library loaded; unloading it is not exercised.
}
