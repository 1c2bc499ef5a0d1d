#pragma once
// What Becky! does around a plug-in call: a structured-exception handler that catches any
// hardware fault left unhandled inside, so the mail client lives on. The stand-in host uses it
// to see that Velmora records a fault and hands it on unchanged.
#include <windows.h>

namespace host {

// Runs body(argument); true and the exception code in `code` when a fault ended it.
bool CallCatchingFaults(void (*body)(void*), void* argument, DWORD& code);
// Runs body(argument) under a handler that mends a read of reserved memory (it commits the page)
// and resumes the faulting instruction (EXCEPTION_CONTINUE_EXECUTION), as a host that grows a
// buffer on demand does; true and the code in `code` when it resumed one.
bool CallResumingFaults(void (*body)(void*), void* argument, DWORD& code);

}  // namespace host
