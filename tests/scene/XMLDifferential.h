#ifndef VISTEL_XML_DIFFERENTIAL_H_INCLUDED
#define VISTEL_XML_DIFFERENTIAL_H_INCLUDED

#include <irrlicht.h>

#include <string>

namespace vistel
{
namespace test
{

//! What the engine's IXMLReaderUTF8 and the scene reader make of one
//! document, written as one line per node: its type, the name of elements and
//! end tags, whether a start tag closes itself, each attribute by position
//! and by name lookup, and the lookups of every attribute name the scene
//! loader asks for.
struct SXMLComparison
{
	std::string Engine;    // the engine reader's nodes
	std::string Ours;      // the scene reader's nodes
	bool EngineFailed = false; // the engine's reader crashed, hung or ran away
	bool EngineNotStarted = false; // its child process could not be started
	std::string EngineFailure;
	bool OursStoppedShort = false; // see CXMLStreamReader::stoppedShort
	std::string OursFault;

	//! True when the scene reader reads the document as the engine's reader
	//! does: the same nodes; only a prefix of them where the engine's reader
	//! reads past its input; anything when the engine's reader failed on the
	//! document. Never when the engine's reader could not be run at all.
	bool agrees() const;

	//! The two node lists side by side from their first difference.
	std::string explain() const;
};

//! Reads the document with the scene reader in this process and with the
//! engine's reader in a child process (which may crash: the input is then
//! the scene reader's alone to survive; the next document gets a new child). The device gives the engine's reader
//! its file system; a null-driver device is enough.
//! With engineInProcessWhenSafe, the engine's reader runs in this process
//! when the scene reader read to the end without stopping short, and the
//! document is 8-bit text that holds no "<!" (whose short forms crash the
//! engine's reader within its input): by the scene reader's account the engine's reader then
//! stays within its input, and a crash would show that account wrong.
//! Fuzzing runs faster so.
SXMLComparison compareWithEngineReader(
	irr::IrrlichtDevice* device, const std::string& document, bool engineInProcessWhenSafe = false);

//! The program that serves the engine's reader to the child process; the
//! built one unless a test names another.
void setEngineReaderProgram(const std::string& path);

} // end namespace test
} // end namespace vistel

#endif
