#include "SystemText.h"

#include <cstring>
#include <cwchar>
#include <langinfo.h>
#include <locale.h>

namespace vistel
{
namespace platform
{

namespace
{

// Decodes with the locale's multibyte conversion; false when a sequence is
// not valid in it. The locale is switched for this thread only: the process's
// own locale stays as the host set it.
bool decodeWithLocale(const std::string& text, locale_t locale, QString& decoded)
{
	std::wstring wide;
	wide.reserve(text.size());
	const locale_t previous = uselocale(locale);
	std::mbstate_t state;
	std::memset(&state, 0, sizeof(state));
	bool valid = true;
	for (size_t i = 0; i < text.size();)
	{
		wchar_t character = 0;
		const size_t length = std::mbrtowc(&character, text.data() + i, text.size() - i, &state);
		if (length == static_cast<size_t>(-1) || length == static_cast<size_t>(-2))
		{
			valid = false;
			break;
		}
		wide.push_back(character);
		i += length ? length : 1; // a zero byte counts as one
	}
	uselocale(previous);
	if (valid)
		decoded = QString::fromWCharArray(wide.data(), static_cast<qsizetype>(wide.size()));
	return valid;
}

} // end anonymous namespace

QString decodeSystemText(const std::string& text)
{
	// The host may never have set a locale of its own (its process runs in
	// "C"), so the user's choice is read from the environment.
	QString decoded;
	bool done = false;
	const locale_t user = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(0));
	if (user)
	{
		// Plain ASCII ("C", "POSIX") says nothing about bytes above 127;
		// there Qt's assumption, UTF-8, is the better guess.
		const char* codeset = nl_langinfo_l(CODESET, user);
		if (codeset && std::strcmp(codeset, "ANSI_X3.4-1968") != 0)
			done = decodeWithLocale(text, user, decoded);
		freelocale(user);
	}
	if (!done)
		decoded = QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
	return decoded;
}

} // end namespace platform
} // end namespace vistel
