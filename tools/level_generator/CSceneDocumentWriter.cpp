#include "CSceneDocumentWriter.h"

#include <charconv>
#include <cstdio>
#include <fstream>

namespace vistel::levelgen
{

namespace
{

// Accumulates output and hands it to the file in large pieces: documents of
// millions of polygons are hundreds of megabytes.
class COutput
{
public:
	explicit COutput(const std::string& path) : File(path, std::ios::binary) { Buffer.reserve(1 << 20); }
	~COutput() { flush(); }

	bool ok() const { return static_cast<bool>(File); }

	COutput& operator<<(const char* s)
	{
		Buffer += s;
		maybeFlush();
		return *this;
	}
	COutput& operator<<(const std::string& s)
	{
		Buffer += s;
		maybeFlush();
		return *this;
	}
	COutput& operator<<(char c)
	{
		Buffer += c;
		return *this;
	}
	COutput& operator<<(float v)
	{
		char text[32];
		const auto result = std::to_chars(text, text + sizeof(text), v);
		Buffer.append(text, result.ptr);
		return *this;
	}
	COutput& operator<<(int v)
	{
		char text[16];
		const auto result = std::to_chars(text, text + sizeof(text), v);
		Buffer.append(text, result.ptr);
		return *this;
	}
	COutput& operator<<(std::size_t v)
	{
		char text[24];
		const auto result = std::to_chars(text, text + sizeof(text), v);
		Buffer.append(text, result.ptr);
		return *this;
	}

	void flush()
	{
		File.write(Buffer.data(), static_cast<std::streamsize>(Buffer.size()));
		Buffer.clear();
	}

private:
	void maybeFlush()
	{
		if (Buffer.size() > (1u << 20))
			flush();
	}

	std::ofstream File;
	std::string Buffer;
};

std::string escaped(const std::string& text)
{
	std::string out;
	for (char c : text)
		switch (c)
		{
		case '&': out += "&amp;"; break;
		case '<': out += "&lt;"; break;
		case '>': out += "&gt;"; break;
		case '"': out += "&quot;"; break;
		default: out += c;
		}
	return out;
}

void writeMaterials(COutput& out, const SGenLevel& level)
{
	out << "<materials>\n";
	std::string category;
	bool open = false;
	for (const SGenMaterial& m : level.Materials)
	{
		if (!open || m.Category != category)
		{
			if (open)
				out << "</category>\n";
			category = m.Category;
			out << "<category name=\"" << escaped(category) << "\">\n";
			open = true;
		}
		out << "<material name=\"" << escaped(m.Name) << "\" id=\"" << m.Id << "\" used=\""
		    << (m.Used ? "true" : "false") << "\">\n";
		for (const SGenLayer& layer : m.Layers)
		{
			out << "<layer type=\"" << layer.Type << '"';
			if (!layer.Blend.empty())
				out << " blend=\"" << layer.Blend << '"';
			out << ">\n";
			if (layer.IsColor)
				out << "<color r=\"" << int{layer.R} << "\" g=\"" << int{layer.G} << "\" b=\"" << int{layer.B}
				    << "\" a=\"" << int{layer.A} << "\" />\n";
			else
				out << "<texture file=\"" << escaped(layer.File) << "\" />\n";
			out << "</layer>\n";
		}
		out << "</material>\n";
	}
	if (open)
		out << "</category>\n";
	out << "</materials>\n";
}

void writeLights(COutput& out, const SGenLevel& level)
{
	out << "<lights>\n";
	int id = 0;
	for (const SGenLight& l : level.Lights)
		out << "<light id=\"" << id++ << "\" type=\"" << (l.Sun ? "directional" : "point") << "\" x=\"" << l.Position.X << "\" y=\"" << l.Position.Y
		    << "\" z=\"" << l.Position.Z << "\" r=\"" << int{l.R} << "\" g=\"" << int{l.G} << "\" b=\""
		    << int{l.B} << "\" radius=\"" << l.Radius << "\" />\n";
	out << "</lights>\n";
}

void writePrimitive(COutput& out, const SGenLevel& level, const SGenPrimitive& p)
{
	out << "<primitive name=\"" << escaped(p.Name) << "\" id=\"" << p.Id << "\">\n";
	out << "<vertices>\n";
	for (std::size_t i = 0; i < p.Vertices.size(); ++i)
		out << "<vertex id=\"" << i << "\" x=\"" << p.Vertices[i].X << "\" y=\"" << p.Vertices[i].Y << "\" z=\""
		    << p.Vertices[i].Z << "\" />\n";
	out << "</vertices>\n";
	out << "<polygons>\n";
	for (const SGenPolygon& poly : p.Polygons)
	{
		const SGenMaterial* m = level.findMaterial(poly.MaterialId);
		out << "<poly mid=\"" << poly.MaterialId << "\">\n";
		for (const SGenCorner& c : poly.Corners)
		{
			out << "<vertex vid=\"" << c.Vid << '"';
			if (m)
				for (std::size_t k = 0; k < m->Layers.size(); ++k)
				{
					const SUv& uv = m->Layers[k].Type == "lightmap" ? c.Local : c.World;
					out << " u" << k << "=\"" << uv.U << "\" v" << k << "=\"" << uv.V << '"';
				}
			out << " />\n";
		}
		out << "</poly>\n";
	}
	out << "</polygons>\n";
	// Editor annotations the loader ignores.
	for (const SGenTag& tag : p.Tags)
	{
		if (tag.Value.find(' ') == std::string::npos)
			out << "<tag name=\"" << escaped(tag.Name) << "\" value=\"" << escaped(tag.Value) << "\" />\n";
		else
			out << "<tag name=\"" << escaped(tag.Name) << "\">\n<value>" << escaped(tag.Value) << "</value>\n</tag>\n";
	}
	out << "</primitive>\n";
}

} // namespace

bool writeSceneDocument(const SGenLevel& level, const std::string& path, const SDocumentOptions& options)
{
	COutput out(path);
	if (!out.ok())
		return false;
	out << "<scene version=\"1.6\">\n";
	if (options.WithSettings)
		out << "<settings name=\"Test\" author=\"\" comments=\"\" shadowOpacity=\"75\">\n"
		       "<ambient r=\"92\" g=\"92\" b=\"92\" />\n</settings>\n";
	out << "<!-- written by the vistel level generator -->\n";
	writeMaterials(out, level);
	writeLights(out, level);
	out << "<primitives>\n";
	for (const SGenPrimitive& p : level.Primitives)
		writePrimitive(out, level, p);
	out << "</primitives>\n";
	out << "</scene>\n";
	out.flush();
	return out.ok();
}

bool writeObj(const SGenLevel& level, const std::string& objPath, const std::string& mtlName,
	const std::string& texturesFolder)
{
	{
		COutput mtl(objPath.substr(0, objPath.find_last_of('/') + 1) + mtlName);
		if (!mtl.ok())
			return false;
		for (const SGenMaterial& m : level.Materials)
		{
			mtl << "newmtl " << m.Name << "\n";
			if (m.Layers.empty())
				continue;
			const SGenLayer& first = m.Layers.front();
			if (first.IsColor)
				mtl << "Kd " << first.R / 255.f << ' ' << first.G / 255.f << ' ' << first.B / 255.f << "\n";
			else
			{
				std::string file = first.File;
				for (char& c : file)
					if (c == '\\')
						c = '/';
				mtl << "Kd 1 1 1\nmap_Kd " << texturesFolder << "/" << file << "\n";
			}
		}
	}

	COutput out(objPath);
	if (!out.ok())
		return false;
	out << "# written by the vistel level generator\nmtllib " << mtlName << "\n";
	std::size_t vertexBase = 1, uvBase = 1;
	for (const SGenPrimitive& p : level.Primitives)
	{
		// A group per primitive as well: loaders that split by group (the
		// engine's OBJ loader does) then keep every buffer small enough for
		// 16-bit indices.
		out << "o " << p.Name << "\ng " << p.Name << "\n";
		for (const SVec3& v : p.Vertices)
			out << "v " << v.X << ' ' << v.Y << ' ' << v.Z << "\n";
		int currentMaterial = -1;
		for (const SGenPolygon& poly : p.Polygons)
		{
			for (const SGenCorner& c : poly.Corners)
				out << "vt " << c.World.U << ' ' << -c.World.V << "\n";
			if (poly.MaterialId != currentMaterial)
			{
				const SGenMaterial* m = level.findMaterial(poly.MaterialId);
				out << "usemtl " << (m ? m->Name : std::string("default")) << "\n";
				currentMaterial = poly.MaterialId;
			}
			out << 'f';
			for (std::size_t k = 0; k < poly.Corners.size(); ++k)
				out << ' ' << (vertexBase + static_cast<std::size_t>(poly.Corners[k].Vid)) << '/' << (uvBase + k);
			out << "\n";
			uvBase += poly.Corners.size();
		}
		vertexBase += p.Vertices.size();
	}
	out.flush();
	return out.ok();
}

} // namespace vistel::levelgen
