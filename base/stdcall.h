#pragma once
// The host and the plug-in call each other with the stdcall convention (callee pops the
// arguments). On the native x86-64 build the convention does not exist and the marker is empty.
#if defined(__i386__) || defined(_M_IX86)
#define VLM_STDCALL __attribute__((stdcall))
#else
#define VLM_STDCALL
#endif
