#include "received/attachment_part.h"

#include <gtest/gtest.h>

namespace vlm {
namespace {

TEST(AttachmentPart, Layout) {
  TLineWriter out;
  WriteAttachmentPart(out, "B", "application/pdf", "\x8e\x91\x97\xbf.pdf", "QUJD\r\nREVG\r\n");
  EXPECT_EQ(out.Text(),
            "--B\r\n"
            "Content-Type: application/pdf;\r\n"
            "\tname=\"\x8e\x91\x97\xbf.pdf\"\r\n"
            "Content-Transfer-Encoding: base64\r\n"
            "Content-Disposition: attachment;\r\n"
            "\tfilename=\"\x8e\x91\x97\xbf.pdf\"\r\n"
            "\r\n"
            "QUJD\r\n"
            "REVG\r\n"
            "\r\n"
            "\r\n");
}

}  // namespace
}  // namespace vlm
