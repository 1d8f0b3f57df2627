// Compiles an HLSL program with the D3DX shader compiler of the Windows (or
// Wine) it runs on, as the Direct3D 9 driver of the engine does, and prints
// what the compiler says. It loads the newest d3dx9_NN.dll there is, as the
// engine does, so it meets the same compiler.
// usage: vistel-hlsl-compile FILE ENTRY PROFILE [ENTRY PROFILE ...]
// Prints "ENTRY PROFILE: ok" or the compiler's messages for each pair; ends
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

CompileShader loadCompiler(int& version)
{
	for (version = 43; version >= 24; --version)
	{
		char name[32];
		std::snprintf(name, sizeof(name), "d3dx9_%d.dll", version);
		if (HMODULE library = LoadLibraryA(name))
		{
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
		const HRESULT result = compile(text.data(), static_cast<UINT>(text.size()), 0, 0, argv[i],
			argv[i + 1], 0, &code, &messages, 0);
		std::printf("%s %s: %s\n", argv[i], argv[i + 1], SUCCEEDED(result) ? "ok" : "failed");
		if (messages)
		{
			std::printf("%.*s\n", static_cast<int>(messages->GetBufferSize()),
				static_cast<const char*>(messages->GetBufferPointer()));
			messages->Release();
		}
		if (code)
			code->Release();
		if (FAILED(result))
			++failed;
	}
	return failed ? 1 : 0;
}
