#pragma once
// The 32-bit build's chain of structured-exception registration records, headed at FS:[0]. A
// record must sit on the stack of the call it guards and be taken off before that call returns.
#if !defined(_WIN64)
namespace vlm {

// The layout the system expects at the start of every registration record.
struct TSehRecord {
  TSehRecord* Next;
  void* Handler;
};

inline TSehRecord* SehChainHead() {
  TSehRecord* head;
  asm volatile("movl %%fs:0, %0" : "=r"(head));
  return head;
}

inline void SetSehChainHead(TSehRecord* head) {
  asm volatile("movl %0, %%fs:0" : : "r"(head) : "memory");
}

}  // namespace vlm
#endif
