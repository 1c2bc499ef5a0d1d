#pragma once
// How reading a winmail.dat fails.
#include <stdexcept>

namespace vlm {

// A winmail.dat that cannot be opened or decoded, or an attachment that cannot be written.
class ETNEFConvert : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A winmail.dat that would give more than one file may: more attachments than anyone sends, or
// more bytes than it holds. Records found inside other records' values can claim the rest of the
// file over and over; a few kilobytes would otherwise become gigabytes of attachments.
class ETNEFLimit : public ETNEFConvert {
 public:
  using ETNEFConvert::ETNEFConvert;
};

// A winmail.dat whose forwarded messages nest deeper than kMaxTnefNesting.
class ETNEFNesting : public ETNEFConvert {
 public:
  using ETNEFConvert::ETNEFConvert;
};

}  // namespace vlm
