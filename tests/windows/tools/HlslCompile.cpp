// Compiles an HLSL program with the D3DX shader compiler of the Windows (or
// Wine) it runs on, as the Direct3D 9 driver of the engine does, and prints
// what the compiler says. It loads the newest d3dx9_NN.dll there is, as the
// engine does, so it meets the same compiler.
// usage: vistel-hlsl-compile FILE ENTRY PROFILE [ENTRY PROFILE ...]
// Prints "ENTRY PROFILE: ok" or the compiler's messages for each pair, and
// for a compiled one its constant table (which register each named constant
// was given: the engine sets constants by name through it) and the
// disassembled code; ends
// with 0 when every pair compiled, 1 when one did not, 2 on a usage error.

#include <windows.h>
#include <d3dx9shader.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace
{

typedef HRESULT(WINAPI* CompileShader)(LPCSTR, UINT, const D3DXMACRO*, LPD3DXINCLUDE, LPCSTR, LPCSTR,
	DWORD, LPD3DXBUFFER*, LPD3DXBUFFER*, LPD3DXCONSTANTTABLE*);
typedef HRESULT(WINAPI* DisassembleShader)(const DWORD*, BOOL, LPCSTR, LPD3DXBUFFER*);

HMODULE compilerLibrary = 0;

const char* registerSetName(D3DXREGISTER_SET set)
{
	switch (set)
	{
	case D3DXRS_BOOL: return "b";
	case D3DXRS_INT4: return "i";
	case D3DXRS_FLOAT4: return "c";
	case D3DXRS_SAMPLER: return "s";
	default: return "?";
	}
}

const char* className(D3DXPARAMETER_CLASS parameterClass)
{
	switch (parameterClass)
	{
	case D3DXPC_SCALAR: return "scalar";
	case D3DXPC_VECTOR: return "vector";
	case D3DXPC_MATRIX_ROWS: return "matrix_rows";
	case D3DXPC_MATRIX_COLUMNS: return "matrix_columns";
	case D3DXPC_OBJECT: return "object";
	case D3DXPC_STRUCT: return "struct";
	default: return "?";
	}
}

void printConstants(LPD3DXCONSTANTTABLE table)
{
	D3DXCONSTANTTABLE_DESC tableDescription;
	if (FAILED(table->GetDesc(&tableDescription)))
		return;
	for (UINT i = 0; i < tableDescription.Constants; ++i)
	{
		D3DXCONSTANT_DESC description;
		UINT count = 1;
		if (FAILED(table->GetConstantDesc(table->GetConstant(0, i), &description, &count)))
			continue;
		std::printf("  constant %s: %s%u, %u register(s), %s %ux%u\n", description.Name,
			registerSetName(description.RegisterSet), description.RegisterIndex, description.RegisterCount,
			className(description.Class), description.Rows, description.Columns);
	}
}

void printCode(LPD3DXBUFFER code)
{
	const DisassembleShader disassemble = reinterpret_cast<DisassembleShader>(
		reinterpret_cast<void*>(GetProcAddress(compilerLibrary, "D3DXDisassembleShader")));
	LPD3DXBUFFER text = 0;
	if (!disassemble || FAILED(disassemble(static_cast<const DWORD*>(code->GetBufferPointer()), FALSE, 0, &text)))
		return;
	std::printf("%.*s\n", static_cast<int>(text->GetBufferSize()), static_cast<const char*>(text->GetBufferPointer()));
	text->Release();
}

CompileShader loadCompiler(int& version)
{
	for (version = 43; version >= 24; --version)
	{
		char name[32];
		std::snprintf(name, sizeof(name), "d3dx9_%d.dll", version);
		if (HMODULE library = LoadLibraryA(name))
		{
			compilerLibrary = library;
			if (FARPROC function = GetProcAddress(library, "D3DXCompileShader"))
				return reinterpret_cast<CompileShader>(reinterpret_cast<void*>(function));
			FreeLibrary(library);
		}
	}
	return 0;
}

} // end anonymous namespace

int main(int argc, char** argv)
{
	if (argc < 4 || argc % 2 != 0)
	{
		std::fprintf(stderr, "usage: vistel-hlsl-compile FILE ENTRY PROFILE [ENTRY PROFILE ...]\n");
		return 2;
	}
	std::ifstream file(argv[1], std::ios::binary);
	const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
	if (!file || text.empty())
	{
		std::fprintf(stderr, "cannot read %s\n", argv[1]);
		return 2;
	}
	int version = 0;
	const CompileShader compile = loadCompiler(version);
	if (!compile)
	{
		std::fprintf(stderr, "no d3dx9 library with D3DXCompileShader\n");
		return 2;
	}
	std::printf("compiler: d3dx9_%d.dll\n", version);
	int failed = 0;
	for (int i = 2; i + 1 < argc; i += 2)
	{
		LPD3DXBUFFER code = 0;
		LPD3DXBUFFER messages = 0;
		LPD3DXCONSTANTTABLE constants = 0;
		const HRESULT result = compile(text.data(), static_cast<UINT>(text.size()), 0, 0, argv[i],
			argv[i + 1], 0, &code, &messages, &constants);
		std::printf("%s %s: %s\n", argv[i], argv[i + 1], SUCCEEDED(result) ? "ok" : "failed");
		if (messages)
		{
			std::printf("%.*s\n", static_cast<int>(messages->GetBufferSize()),
				static_cast<const char*>(messages->GetBufferPointer()));
			messages->Release();
		}
		if (constants)
		{
			printConstants(constants);
			constants->Release();
		}
		if (code)
		{
			printCode(code);
			code->Release();
		}
		if (FAILED(result))
			++failed;
	}
	return failed ? 1 : 0;
}
