#ifndef VISTEL_PLUGIN_API_H_INCLUDED
#define VISTEL_PLUGIN_API_H_INCLUDED

/* The boundary between the level editor (the host) and the plug-in: the
   eight exported entry points, the host's callback and the record of one
   request. Shared by the library and by hosts; plain C. */

#include <stddef.h>

#if defined(_WIN32) && !defined(_WIN64)
#define VISTEL_CALL __stdcall
#else
#define VISTEL_CALL
#endif

#if defined(_WIN32)
/* The module-definition file names the exports, their decorated twins and
   their ordinals; a dllexport here would add exports of its own. */
#define VISTEL_EXPORT
#else
#define VISTEL_EXPORT __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Commands of one request exchange. */
enum ECallbackReason
{
	ECR_GET_MEM = 0,  /* the host tells the size of its reply */
	ECR_GET_DATA = 1  /* the host writes its reply */
};

/* One request, filled by the plug-in and handed to the host's callback. The
   field order, widths and signedness are fixed: on a 32-bit target the
   record is 16 bytes with the fields at 0, 4, 8 and 12. */
struct SCallbackRecord
{
	int reason;               /* ECallbackReason */
	const char* request;      /* zero-terminated request document */
	char* reply;              /* GetData: buffer of replySize + 1 bytes */
	unsigned int replySize;   /* GetMem answer: reply length without terminator */
};

#if defined(__SIZEOF_POINTER__) && __SIZEOF_POINTER__ == 4
#ifdef __cplusplus
static_assert(sizeof(SCallbackRecord) == 16, "SCallbackRecord must be 16 bytes");
static_assert(offsetof(SCallbackRecord, request) == 4, "request at offset 4");
static_assert(offsetof(SCallbackRecord, reply) == 8, "reply at offset 8");
static_assert(offsetof(SCallbackRecord, replySize) == 12, "replySize at offset 12");
#endif
#endif

/* The host's callback: 0 for success, otherwise an error code. */
typedef int (VISTEL_CALL *HostCallback)(struct SCallbackRecord* record);

#ifndef VISTEL_NO_ENTRY_DECLARATIONS
VISTEL_EXPORT void VISTEL_CALL PluginExecute(void);
VISTEL_EXPORT const char* VISTEL_CALL PluginTarvoVersion(void);
VISTEL_EXPORT const char* VISTEL_CALL PluginDescription(void);
VISTEL_EXPORT const char* VISTEL_CALL PluginEmail(void);
VISTEL_EXPORT const char* VISTEL_CALL PluginAuthor(void);
VISTEL_EXPORT const char* VISTEL_CALL PluginName(void);
VISTEL_EXPORT void VISTEL_CALL PluginSetCallback(HostCallback callback);
VISTEL_EXPORT const char* VISTEL_CALL PluginVersion(void);
#endif

#ifdef __cplusplus
}
#endif

#endif
