// Stands in for the libxml2 reader where the build has no libxml2 (the
// Windows build until the scene reader needs no XML library): no document
// can be read, so the loader loads nothing.

#include "CLibXmlPullReader.h"

namespace vistel
{

std::unique_ptr<CLibXmlPullReader> CLibXmlPullReader::create(irr::io::IReadFile* file,
	irr::ILogger* logger)
{
	(void)file;
	(void)logger;
	return std::unique_ptr<CLibXmlPullReader>();
}

CLibXmlPullReader::~CLibXmlPullReader()
{
}

bool CLibXmlPullReader::read()
{
	return false;
}

irr::io::EXML_NODE CLibXmlPullReader::getNodeType() const
{
	return irr::io::EXN_NONE;
}

const char* CLibXmlPullReader::getNodeName() const
{
	return "";
}

bool CLibXmlPullReader::isEmptyElement() const
{
	return false;
}

const char* CLibXmlPullReader::getAttributeValue(const char* name) const
{
	(void)name;
	return 0;
}

std::string CLibXmlPullReader::describeFirstFault() const
{
	return "no XML reader in this build";
}

} // end namespace vistel
