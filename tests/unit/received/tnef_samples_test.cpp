// The real winmail.dat samples: every one decodes or raises our own error, and what we write
// agrees with the files other decoders' test suites publish for the same samples.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "plugin/ansi_text.h"
#include "received/tnef_convert.h"
#include "tests/unit/received/sha256.h"
#include "tests/unit/received/test_folder.h"

namespace {

namespace fs = std::filesystem;

fs::path TestData() {
  const char* fromEnvironment = std::getenv("VELMORA_TESTDATA");
  return fromEnvironment != nullptr ? fromEnvironment : VELMORA_TESTDATA;
}

std::vector<std::string> Lines(const fs::path& file) {
  std::istringstream in(vlm::test::ReadFile(file));
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line[0] != '#') lines.push_back(line);
  }
  return lines;
}

std::string Stem(const std::string& sample) {
  return sample.substr(0, sample.rfind('.'));
}

// Expected files of one sample: digests by name, as published by each decoder project that lists
// the sample in SOURCES.tsv. Names are the long names those decoders use, which are ours only
// where the sender's attAttachTitle holds the long name.
struct Expected {
  std::map<std::string, std::set<std::string>> digestsByName;
  std::set<std::string> digests;
  void Add(const std::string& name, const std::string& digest) {
    digestsByName[name].insert(digest);
    digests.insert(digest);
  }
};

std::map<std::string, Expected> LoadExpected() {
  const fs::path root = TestData() / "tnef-expected";
  // "sha256  size  path" lines of the published digest lists.
  auto digestLines = [](const fs::path& file) {
    std::vector<std::pair<std::string, std::string>> entries;  // path, sha256
    for (const auto& line : Lines(file)) {
      std::istringstream fields(line);
      std::string digest, size, path;
      fields >> digest >> size;
      std::getline(fields >> std::ws, path);
      if (digest.size() == 64) entries.emplace_back(path, digest);
    }
    return entries;
  };
  std::map<std::string, Expected> expected;
  for (const auto& line : Lines(TestData() / "tnef" / "SOURCES.tsv")) {
    std::istringstream fields(line);
    std::string sample, bytes, digest, first, also;
    std::getline(fields, sample, '\t');
    std::getline(fields, bytes, '\t');
    std::getline(fields, digest, '\t');
    std::getline(fields, first, '\t');
    std::getline(fields, also, '\t');
    if (sample == "File") continue;
    const std::string sources = "," + first + "," + also + ",";
    auto from = [&](const char* project) {
      return sources.find("," + std::string(project) + ",") != std::string::npos;
    };
    const std::string stem = Stem(sample);
    if (from("jstedfast_MimeKit"))
      for (const auto& [path, sha] :
           digestLines(root / "jstedfast_MimeKit/EXPECTED-extracted.sha256"))
        if (path.starts_with(stem + "/")) expected[sample].Add(path.substr(stem.size() + 1), sha);
    if (from("verdammelt_tnef") && fs::exists(root / "verdammelt_tnef" / (stem + ".list"))) {
      std::map<std::string, std::string> baselines;
      for (const auto& [path, sha] :
           digestLines(root / "verdammelt_tnef/EXPECTED-baselines.sha256"))
        baselines[path] = sha;
      for (const auto& name : Lines(root / "verdammelt_tnef" / (stem + ".list")))
        if (baselines.count(name + ".baseline"))
          expected[sample].Add(name, baselines[name + ".baseline"]);
    }
    // ytnef's suite checks the union of what it extracts from all of its samples.
    if (from("Yeraze_ytnef"))
      for (const auto& [path, sha] : digestLines(root / "Yeraze_ytnef/EXPECTED-results.sha256"))
        expected[sample].Add(path, sha);
    if (sample == "quick-winmail.dat")
      for (const auto& [path, sha] :
           digestLines(root / "apache_poi/EXPECTED-quick-contents.sha256"))
        expected[sample].Add(path, sha);
  }
  return expected;
}

// Titles in file order as listed by decoders that report attAttachTitle
// (Teamwork/tnef, uponusolutions/tnef, Apache POI's titles): the names with long names off.
const std::map<std::string, std::vector<std::wstring>> kTitleListings = {
    {"attachments.dat", {L"ZAPPA_~2.JPG", L"bookmark.htm"}},
    {"garbage-at-end.tnef", {}},
    {"multi-name-property.tnef", {}},
    {"one-file.tnef", {L"AUTHORS"}},
    {"two-files.tnef", {L"AUTHORS", L"README"}},
    {"unicode-mapi-attr-name.tnef",
     {L"spaconsole2.cfg", L"image001.png", L"image002.png", L"image003.png"}},
    {"unicode-mapi-attr.tnef", {L"example.dat"}},
    {"signed.tnef", {L"smime.p7m"}},
    {"data-before-name.tnef", {L"AUTOEXEC.BAT", L"CONFIG.SYS", L"boot.ini"}},
    {"quick-winmail.dat", {L"quick.doc", L"QUICK~1.HTM", L"quick.pdf", L"quick.txt", L"quick.xml"}},
};

// Where an attachment's property block holds a long name, that names the file (as every other
// decoder shows it): the names with long names on, where they differ from the titles.
const std::map<std::string, std::vector<std::wstring>> kLongNameListings = {
    {"attachments.dat", {L"zappa_av1.jpg", L"bookmark.htm"}},
    {"badchecksum.dat", {L"zappa_av1.jpg", L"bookmark.htm"}},
    {"christmas.tnef",
     {L"kitten-playing-with-a-christmas-tree.jpg", L"Untitled Attachment",
      L"Untitled Attachment (2)", L"KITTEN~1.JPG"}},  // the last is inside an embedded message
    {"long-filename.tnef", {L"allproductsmar2000.dat"}},
    {"missing-filenames.tnef",
     {L"generpts.src", L"TechlibDEC99.doc", L"TechlibDEC99-JAN00.doc", L"TechlibNOV99.doc"}},
    {"multi-value-attribute.tnef", {L"208225__5_seconds__Voice_Mail.mp3"}},
    {"Yeraze-multi-value-attribute.tnef", {L"208225 (5 seconds) Voice Mail.mp3"}},
    {"quick-winmail.dat", {L"quick.doc", L"quick.html", L"quick.pdf", L"quick.txt", L"quick.xml"}},
    {"umlaut-filename.tnef", {L"d\u00f6cument.pdf"}},
    {"umlaut.tnef",
     {L"TBZ PARIV GmbH.jpg", L"image003.jpg", L"UmlautAnhang-\u00e4\u00fc\u00f6.txt"}},
    {"umlaute.tnef", {L"Dog with o\u0308a\u0308u\u0308.jpg"}},  // decomposed, as sent
};

TEST(TTNEFConvertSamples, TitlesExactlyAsBeforeWithLongNamesOff) {
  for (const auto& [sample, titles] : kTitleListings) {
    vlm::test::TTestFolder out;
    std::vector<std::wstring> resultFile;
    vlm::TTNEFConvert converter(TestData() / "tnef" / sample);
    converter.SetLongFileNames(false);
    converter.Convert(resultFile, out.Path());
    EXPECT_EQ(resultFile, titles) << sample;
  }
}

TEST(TTNEFConvertSamples, DecodeAsOtherDecodersDo) {
  const auto expected = LoadExpected();
  size_t decoded = 0, compared = 0;
  for (const auto& entry : fs::directory_iterator(TestData() / "tnef")) {
    const std::string sample = entry.path().filename().string();
    if (sample == "SOURCES.tsv") continue;
    vlm::test::TTestFolder out;
    std::vector<std::wstring> resultFile;
    try {
      vlm::TTNEFConvert converter(entry.path());
      converter.Convert(resultFile, out.Path());
      ++decoded;
    } catch (const vlm::ETNEFConvert&) {
      // A malformed sample: our own error, and nothing written.
      EXPECT_TRUE(resultFile.empty()) << sample;
    } catch (const std::exception& e) {
      ADD_FAILURE() << sample << ": not our own error: " << e.what();
    }
    // The folder holds exactly the files ResultFile names: nothing half-written, nothing else.
    const auto written = vlm::test::FolderContents(out.Path());
    EXPECT_EQ(written.size(), resultFile.size()) << sample;
    for (const auto& name : resultFile) EXPECT_TRUE(written.count(name)) << sample;

    if (const auto names = kLongNameListings.find(sample); names != kLongNameListings.end()) {
      EXPECT_EQ(resultFile, names->second) << sample;
    } else if (const auto titles = kTitleListings.find(sample); titles != kTitleListings.end()) {
      EXPECT_EQ(resultFile, titles->second) << sample;
    }
    const auto found = expected.find(sample);
    if (found == expected.end()) continue;
    ++compared;
    for (const auto& [name, content] : written) {
      const std::string digest = vlm::test::Sha256Hex(content);
      const std::string utf8Name = vlm::ToUtf8(name);
      EXPECT_TRUE(found->second.digests.count(digest))
          << sample << ": " << utf8Name << " is none of the published files";
      if (const auto sameName = found->second.digestsByName.find(utf8Name);
          sameName != found->second.digestsByName.end()) {
        EXPECT_TRUE(sameName->second.count(digest)) << sample << ": " << utf8Name << " differs";
      }
    }
  }
  EXPECT_GE(decoded, 30u);
  EXPECT_GE(compared, 15u);
}

}  // namespace
