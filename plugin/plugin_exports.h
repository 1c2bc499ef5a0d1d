#pragma once
// The functions Velmora.dll exports, as the host (and the stand-in host in the tests) calls them.
// All are stdcall with 32-bit arguments; text is ANSI in the system code page.
#include <cstdint>

#include "base/host_api.h"

#define VLM_PLUGIN_CALLBACKS(X)                                                              \
  X(BKC_OnStart, int, ())                                                                    \
  X(BKC_OnExit, int, ())                                                                     \
  X(BKC_OnMenuInit, int, (vlm::HostWnd wnd, void* menu, int type))                           \
  X(BKC_OnOpenFolder, int, (const char* folder))                                             \
  X(BKC_OnOpenMail, int, (const char* mail))                                                 \
  X(BKC_OnEveryMinute, int, ())                                                              \
  X(BKC_OnOpenCompose, int, (vlm::HostWnd wnd, int mode))                                    \
  X(BKC_OnOutgoing, int, (vlm::HostWnd wnd, int mode))                                       \
  X(BKC_OnKeyDispatch, int, (vlm::HostWnd wnd, int key, int shift))                          \
  X(BKC_OnRetrieve, int, (const char* message, const char* mail))                            \
  X(BKC_OnSend, int, (const char* message))                                                  \
  X(BKC_OnFinishRetrieve, int, (int count))                                                  \
  X(BKC_OnPlugInSetup, int, (vlm::HostWnd wnd))                                              \
  X(BKC_OnPlugInInfo, int, (char* info))                                                     \
  X(BKC_OnDragDrop, int, (const char* target, const char* source, int count, int effect))    \
  X(VlmComposeMail, vlm::HostWnd, (const char* text, const char* file))                      \
  X(VlmCompAttachFile, vlm::HostWnd, (vlm::HostWnd wnd, const char* text, const char* file)) \
  X(VlmSetMessageText, void, (vlm::HostWnd wnd, const char* text))                           \
  X(VlmGetTempFolder, void, ())

#define VLM_DECLARE_PLUGIN_POINTER(name, result, args) using name##Fn = result(VLM_STDCALL*) args;
VLM_PLUGIN_CALLBACKS(VLM_DECLARE_PLUGIN_POINTER)
#undef VLM_DECLARE_PLUGIN_POINTER
