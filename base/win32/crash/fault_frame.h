#pragma once
// A structured-exception frame around one call into Velmora (on the FS:[0] chain in the 32-bit
// build, through the unwind tables in the x86-64 one). Its handler never takes an exception:
// when the search for a handler reaches it, a hardware fault raised below is noted and its report
// written, and when the exception then unwinds past it, or nobody handles it at all, the user is
// asked (see fault_note.h). A fault some handler resumes leaves no box and no report, and a
// fault the system raises and handles itself never reaches the frame.
namespace vlm {

// Runs call(argument) inside the frame. `entry` names the export or procedure in reports; it
// must outlive the call. `call` must not let a C++ exception escape.
void CallInsideFaultFrame(const char* entry, void (*call)(void*), void* argument) noexcept;

}  // namespace vlm
