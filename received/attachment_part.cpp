#include "received/attachment_part.h"

#include <string>

namespace vlm {

void WriteAttachmentPart(TLineWriter& out, std::string_view boundary, std::string_view mimeType,
                         std::string_view fileName, std::string_view base64) {
  const std::string name(fileName);
  out.Line("--" + std::string(boundary));
  out.Line("Content-Type: " + std::string(mimeType) + ";");
  out.Line("\tname=\"" + name + "\"");
  out.Line("Content-Transfer-Encoding: base64");
  out.Line("Content-Disposition: attachment;");
  out.Line("\tfilename=\"" + name + "\"");
  out.Line("");
  out.TextLines(base64);
  out.Line("");
  out.Line("");
}

void WriteMessagePart(TLineWriter& out, std::string_view boundary, std::string_view fileName,
                      std::string_view message) {
  const std::string name(fileName);
  out.Line("--" + std::string(boundary));
  out.Line("Content-Type: message/rfc822;");
  out.Line("\tname=\"" + name + "\"");
  out.Line("Content-Disposition: attachment;");
  out.Line("\tfilename=\"" + name + "\"");
  out.Line("");
  out.TextLines(message);
  out.Line("");
}

}  // namespace vlm
