#pragma once
// The RTF body a winmail.dat carries in PR_RTF_COMPRESSED: a 16-byte header (COMPSIZE, RAWSIZE,
// COMPTYPE, CRC) and either the RTF as it is ("MELA") or an LZ77 stream over a 4096-byte ring
// that starts out holding common RTF words ("LZFu"). The value comes from anyone: the header is
// checked against the bytes given, the CRC against the compressed bytes, and the output never
// grows past RAWSIZE, itself refused when no honest stream of that length could expand to it.
#include <stdexcept>
#include <string>
#include <string_view>

namespace vlm {

// A compressed RTF value that is truncated, inconsistent with its header or of an unknown type.
class ECompressedRtf : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The RTF `compressed` holds, RAWSIZE bytes long. Bytes after COMPSIZE (the padding a TNEF value
// may carry) are ignored. Raises ECompressedRtf.
[[nodiscard]] std::string DecompressRtf(std::string_view compressed);

}  // namespace vlm
