#ifndef VISTEL_TEST_C_TEMPORARY_DIRECTORY_H_INCLUDED
#define VISTEL_TEST_C_TEMPORARY_DIRECTORY_H_INCLUDED

#include "SystemConventions.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <random>
#endif

namespace vistel
{
namespace test
{

//! A fresh directory for one test, removed with everything in it.
class CTemporaryDirectory
{
public:
	CTemporaryDirectory()
	{
#ifdef _WIN32
		// No mkdtemp: a random name, made only when nothing has it yet.
		std::random_device seed;
		std::mt19937 random(seed());
		const std::filesystem::path base = std::filesystem::temp_directory_path();
		for (int attempt = 0; attempt < 100 && Path.empty(); ++attempt)
		{
			const std::filesystem::path candidate = base / ("vistel-test-" + std::to_string(random()));
			std::error_code failure;
			if (std::filesystem::create_directory(candidate, failure))
				Path = candidate.string();
		}
#else
		std::string pattern = (std::filesystem::temp_directory_path() / "vistel-test-XXXXXX").string();
		std::vector<char> buffer(pattern.begin(), pattern.end());
		buffer.push_back(0);
		Path = mkdtemp(&buffer[0]) ? std::string(&buffer[0]) : std::string();
#endif
		// Paths are built the way the library builds them.
		while (Path.size() > 1 && (Path.back() == '/' || Path.back() == PATH_SEPARATOR))
			Path.pop_back();
	}
	~CTemporaryDirectory()
	{
		std::error_code ignored;
		std::filesystem::remove_all(Path, ignored);
	}

	const std::string& path() const { return Path; }
	std::string operator/(const std::string& name) const { return Path + PATH_SEPARATOR + name; }

private:
	std::string Path;
};

inline void writeFile(const std::string& path, const std::string& content)
{
	std::filesystem::create_directories(std::filesystem::path(path).parent_path());
	std::ofstream file(path.c_str(), std::ios::binary | std::ios::trunc);
	file << content;
}

inline std::string readFile(const std::string& path)
{
	std::ifstream file(path.c_str(), std::ios::binary);
	std::ostringstream content;
	content << file.rdbuf();
	return content.str();
}

} // end namespace test
} // end namespace vistel

#endif
