// libFuzzer target: arbitrary bytes through the scene reader and through the
// engine's IXMLReaderUTF8 (in a child process, which may crash); the two must
// give the same nodes wherever the engine's reader stays within its input.
#include "XMLDifferential.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
	static irr::IrrlichtDevice* device = [] {
		irr::SIrrlichtCreationParameters parameters;
		parameters.DriverType = irr::video::EDT_NULL;
		parameters.LoggingLevel = irr::ELL_NONE;
		return irr::createDeviceEx(parameters);
	}();
	const std::string document(reinterpret_cast<const char*>(data), size);
	const vistel::test::SXMLComparison comparison = vistel::test::compareWithEngineReader(device, document, true);
	if (!comparison.agrees())
	{
		std::fprintf(stderr, "The scene reader and the engine's reader disagree:\n%s", comparison.explain().c_str());
		std::abort();
	}
	return 0;
}
