// Writes a level as the editor's XML scene document.
//
// The preview trims every line of the document and joins them, inserting its
// settings element after the first line. So the first line is the scene start
// tag and no tag spans two lines.
#ifndef VISTEL_LEVELGEN_CSCENE_DOCUMENT_WRITER_H_INCLUDED
#define VISTEL_LEVELGEN_CSCENE_DOCUMENT_WRITER_H_INCLUDED

#include "SGenLevel.h"

#include <string>

namespace vistel::levelgen
{

struct SDocumentOptions
{
	// Adds the settings element the preview inserts, so the file loads as-is.
	bool WithSettings = false;
};

bool writeSceneDocument(const SGenLevel& level, const std::string& path, const SDocumentOptions& options);

// The same geometry as Wavefront OBJ (+ MTL beside it), in document coordinates.
bool writeObj(const SGenLevel& level, const std::string& objPath, const std::string& mtlName,
	const std::string& texturesFolder);

} // namespace vistel::levelgen

#endif
