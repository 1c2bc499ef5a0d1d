#pragma once
// The host's exported "BKA_" functions, bound by name at library load.
#include <cstdint>
#include <functional>
#include <string>

#include "base/stdcall.h"

namespace vlm {

// Host-side handles cross the boundary as 32-bit values; portable code treats them as opaque.
using HostWnd = void*;
using TCommandHandler = void(VLM_STDCALL*)(HostWnd window, std::intptr_t param);

// Flags of a stored message in what GetStatus answers, the ones the rewrites read.
// The message carries attachments: only such a message can hold a winmail.dat, and a file is
// added to it only as one more part of a multipart/mixed message.
inline constexpr std::uint32_t kMailHasAttachments = 8;
// The message is not to be converted: a single-part message with this flag is not made
// multipart/mixed to take a file.
inline constexpr std::uint32_t kMailNotConverted = 256;

}  // namespace vlm

// X(name, result, (arguments)) for the 55 functions, in the declaration order of TBeckyAPI.
// The argument count matters: with stdcall a mismatch corrupts the stack on return.
#define VLM_HOST_FUNCTIONS(X)                                                                     \
  X(GetVersion, const char*, ())                                                                  \
  X(Command, void, (vlm::HostWnd wnd, const char* command))                                       \
  X(GetWindowHandles, int, (void** main, void** tree, void** list, void** view))                  \
  X(RegisterCommand, int, (const char* description, int target, vlm::TCommandHandler handler))    \
  X(RegisterUICallback, int, (int id, void* callback))                                            \
  X(GetDataFolder, const char*, ())                                                               \
  X(GetTempFolder, const char*, ())                                                               \
  X(GetTempFileName, const char*, (const char* type))                                             \
  X(GetCurrentMailBox, const char*, ())                                                           \
  X(SetCurrentMailBox, void, (const char* mailbox))                                               \
  X(GetCurrentFolder, const char*, ())                                                            \
  X(SetCurrentFolder, void, (const char* folder))                                                 \
  X(GetFolderDisplayName, const char*, (const char* folder))                                      \
  X(SetMessageText, void, (vlm::HostWnd wnd, const char* text))                                   \
  X(GetCurrentMail, const char*, ())                                                              \
  X(SetCurrentMail, void, (const char* mail))                                                     \
  X(GetNextMail, int, (int start, char* buffer, int size, int unread))                            \
  X(SetSel, void, (const char* mail, int select))                                                 \
  X(AppendMessage, int, (const char* folder, const char* data))                                   \
  X(MoveSelectedMessages, int, (const char* folder, int copy))                                    \
  X(GetStatus, std::uint32_t, (const char* mail))                                                 \
  X(SetStatus, std::uint32_t, (const char* mail, std::uint32_t set, std::uint32_t reset))         \
  X(ComposeMail, vlm::HostWnd, (const char* url))                                                 \
  X(GetCharSet, int, (const char* mail, char* buffer, int size))                                  \
  X(GetSource, char*, (const char* mail))                                                         \
  X(SetSource, void, (const char* mail, const char* source))                                      \
  X(GetHeader, char*, (const char* mail))                                                         \
  X(GetText, char*, (char* mime, int size))                                                       \
  X(SetText, void, (int mode, const char* text))                                                  \
  X(GetSpecifiedHeader, void, (const char* header, char* buffer, int size))                       \
  X(SetSpecifiedHeader, void, (const char* header, const char* value))                            \
  X(CompGetCharSet, int, (vlm::HostWnd wnd, char* buffer, int size))                              \
  X(CompGetSource, char*, (vlm::HostWnd wnd))                                                     \
  X(CompSetSource, void, (vlm::HostWnd wnd, const char* source))                                  \
  X(CompGetHeader, char*, (vlm::HostWnd wnd))                                                     \
  X(CompGetSpecifiedHeader, void, (vlm::HostWnd wnd, const char* header, char* buffer, int size)) \
  X(CompSetSpecifiedHeader, void, (vlm::HostWnd wnd, const char* header, const char* value))      \
  X(CompGetText, char*, (vlm::HostWnd wnd, char* mime, int size))                                 \
  X(CompSetText, void, (vlm::HostWnd wnd, int mode, const char* text))                            \
  X(CompAttachFile, void, (vlm::HostWnd wnd, const char* path, const char* mime))                 \
  X(Alloc, void*, (std::uint32_t size))                                                           \
  X(ReAlloc, void*, (void* buffer, std::uint32_t size))                                           \
  X(Free, void, (void* buffer))                                                                   \
  X(ISO_2022_JP, char*, (const char* text, int encode))                                           \
  X(ISO_2022_KR, char*, (const char* text, int encode))                                           \
  X(HZ_GB2312, char*, (const char* text, int encode))                                             \
  X(ISO_8859_2, char*, (const char* text, int encode))                                            \
  X(EUC_JP, char*, (const char* text, int encode))                                                \
  X(UTF_7, char*, (const char* text, int encode))                                                 \
  X(UTF_8, char*, (const char* text, int encode))                                                 \
  X(B64Convert, int, (const char* output, const char* input, int encode))                         \
  X(QPConvert, int, (const char* output, const char* input, int encode))                          \
  X(MIMEHeader, char*, (const char* text, char* buffer, int size, int encode))                    \
  X(SerializeRcpts, char*, (const char* recipients))                                              \
  X(Connect, int, (int connect))

namespace vlm {

// Looks a host export up by its ANSI name; null when the host does not export it.
using THostSymbolResolver = std::function<void*(const char* name)>;

}  // namespace vlm

// The bound host functions. Every call into the host goes through the process-wide HostApi.
class TBeckyAPI {
 public:
#define VLM_DECLARE_FIELD(name, result, args) \
  using P##name = result(VLM_STDCALL*) args;  \
  P##name name = nullptr;
  VLM_HOST_FUNCTIONS(VLM_DECLARE_FIELD)
#undef VLM_DECLARE_FIELD

  // 0 while unbound; the host module's handle once InitAPI succeeded.
  std::uintptr_t m_hInstBecky = 0;
  // The host's version text as GetVersion gave it while binding (crash reports name it).
  std::string HostVersion;

  // Binds every function from the host module `mainModule`, resolving names through `resolve`.
  // Returns true when bound (at once if already bound). On failure m_hInstBecky is 0 and the
  // fields hold whatever had been resolved so far.
  [[nodiscard]] bool InitAPI(std::uintptr_t mainModule, const vlm::THostSymbolResolver& resolve);
};

namespace vlm {
// True when a host of version `version` must export "BKA_SetStatus" to be bound: versions that
// compare at or above "2.00.06" (textually, ignoring case) and texts longer than 7 characters.
[[nodiscard]] bool HostVersionNeedsSetStatus(const char* version);
}  // namespace vlm
