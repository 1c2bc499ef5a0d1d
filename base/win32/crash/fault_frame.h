#pragma once
// A structured-exception frame on the thread's exception chain (FS:[0]) around one call into
// Velmora. Its handler runs only when a hardware exception raised below it was left unhandled
// by every inner frame, our own code's and the system's: then the fault is recorded and the
// search goes on outward exactly as if the frame were not there. Nothing is recorded at first
// chance, and a fault the system raises and handles itself never reaches the frame.
namespace vlm {

// Runs call(argument) inside the frame. `entry` names the export or procedure in reports; it
// must outlive the call. `call` must not let a C++ exception escape.
void CallInsideFaultFrame(const char* entry, void (*call)(void*), void* argument) noexcept;

}  // namespace vlm
