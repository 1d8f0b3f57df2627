// The built library as a host sees it: found by name, texts that stay put.

#include <gtest/gtest.h>
#include <dlfcn.h>
#include <cstring>

namespace
{

typedef const char* (*TextFunction)(void);

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
	void* library = dlopen(VISTEL_PLUGIN_LIBRARY, RTLD_NOW | RTLD_LOCAL);
	ASSERT_TRUE(library) << dlerror();
	EXPECT_TRUE(dlsym(library, "PluginExecute"));
	EXPECT_TRUE(dlsym(library, "PluginSetCallback"));
	for (size_t i = 0; i < sizeof(TEXTS) / sizeof(TEXTS[0]); ++i)
	{
		TextFunction entry = reinterpret_cast<TextFunction>(dlsym(library, TEXTS[i].Entry));
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
	EXPECT_FALSE(dlsym(library, "_ZN6vistel10runPreviewEv"));
	// The host keeps the library loaded; unloading it is not exercised.
}
