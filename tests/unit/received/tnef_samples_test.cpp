// The real winmail.dat samples: every one decodes to the files tabled for it or raises our own
// error, and the tabled files agree with those other decoders' test suites publish.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "base/ansi_text.h"
#include "received/tnef_convert.h"
#include "received/tnef_properties.h"
#include "tests/support/sample_data.h"
#include "tests/support/scratch_folder.h"
#include "tests/unit/received/folder_contents.h"
#include "tests/unit/received/sha256.h"

namespace {

namespace fs = std::filesystem;

fs::path TestData() {
  return vlm::test::SampleFolder();
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

// What the decoder makes of every sample in the folder: the files in the order ResultFile lists
// them, each with its name (the long name of its property block, else the sender's attAttachTitle,
// made unique) and the SHA-256 of its
// content; or the error it raises. A row per sample, so a name that changes changes in one row.
struct TSampleFile {
  std::wstring Name;
  const char* Sha256;
};
enum TOutcome { kDecodes, kRaises };
struct TSample {
  const char* File;
  TOutcome Outcome;
  std::vector<TSampleFile> Files;
};

// clang-format off
const TSample kSamples[] = {
    {"IPM-DistList.tnef", kDecodes,
     {
         {L"Untitled Attachment", "75f459e8f4943b779961210b0cc9e70b7f52e0d09983d92b4fb19c5db54fdc16"},
     }},
    {"MAPI_ATTACH_DATA_OBJ.tnef", kDecodes, {}},
    {"MAPI_OBJECT.tnef", kDecodes, {}},
    {"Yeraze-multi-value-attribute.tnef", kDecodes,
     {
         {L"208225 (5 seconds) Voice Mail.mp3", "cf2e3cd4175a3acd5cd193623cd8f79fda1c22f4823560213e561851c3fdd4e8"},
     }},
    {"attachments.dat", kDecodes,
     {
         {L"zappa_av1.jpg", "bea844f30e0fcc20fad419a0d11032a6465da93c1da185a1196949955994409a"},
         {L"bookmark.htm", "1e08d6e23c75ff80ac992eebc24c2943c7843b7dfee235966b37de5eb4362599"},
     }},
    {"bad_checksum.tnef", kDecodes,
     {
         {L"image001.png", "b9bdadaf568ade343cbe80e04412a4d5bde780133311c8f7e14ca456e7371a2e"},
     }},
    {"badchecksum.dat", kDecodes,
     {
         {L"zappa_av1.jpg", "bea844f30e0fcc20fad419a0d11032a6465da93c1da185a1196949955994409a"},
         {L"bookmark.htm", "1e08d6e23c75ff80ac992eebc24c2943c7843b7dfee235966b37de5eb4362599"},
     }},
    {"body.tnef", kDecodes, {}},
    {"bug52400-winmail-simple.dat", kDecodes, {}},
    {"bug52400-winmail-with-attachments.dat", kDecodes,
     {
         {L"scion_tc_2007_maintenanceguide.pdf", "b617b1efa60d79c40fbb6f201446ebce8d2fe4f9728c60ea9e2e64012ad6b26e"},
         {L"Duke_Wave.png", "7c02c7331088a3169246fb8aec7f9c4f85f9192122a6b80d6e09d219cd68ec77"},
     }},
    {"bug63955-winmail.dat", kDecodes,
     {
         {L"SI-61597.pdf", "b9261bf9cbbe2116e1a3c951cb7ae23c46d47922f6458e939cf7ec19673ac89d"},
         {L"SI-61598.pdf", "f8f7f17b72e86d8ea26dc495c34907434a922f6667043e91388ca0f73f1955c3"},
     }},
    {"christmas.tnef", kDecodes,
     {
         {L"kitten-playing-with-a-christmas-tree.jpg", "f79d79bf20d19d17f4bbc92bc59485be362df93deaa92b71cc0d490d3b7ac935"},
         {L"Untitled Attachment", "75f459e8f4943b779961210b0cc9e70b7f52e0d09983d92b4fb19c5db54fdc16"},
         {L"Untitled Attachment (2)", "75f459e8f4943b779961210b0cc9e70b7f52e0d09983d92b4fb19c5db54fdc16"},
         {L"KITTEN~1.JPG", "f79d79bf20d19d17f4bbc92bc59485be362df93deaa92b71cc0d490d3b7ac935"},
     }},
    {"data-before-name.tnef", kDecodes,
     {
         {L"AUTOEXEC.BAT", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
         {L"CONFIG.SYS", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
         {L"boot.ini", "a815374e31481bbb939d99e73ecfe1de7914363ecd5c670c60a9022474251bce"},
     }},
    {"duplicate_filename.tnef", kDecodes, {}},
    {"empty-file.tnef", kDecodes, {}},
    {"garbage-at-end.tnef", kDecodes, {}},
    {"invalid-checksum.tnef", kDecodes, {}},
    {"long-filename.tnef", kDecodes,
     {
         {L"allproductsmar2000.dat", "de2ad5d4e20a2456ad12808dee82af2d0d1236ddf5bd55832581a7886cdcd807"},
     }},
    {"mapi_attach_data_obj.tnef", kDecodes, {}},
    {"minimal_attachment.tnef", kDecodes, {}},
    {"missing-filenames.tnef", kDecodes,
     {
         {L"generpts.src", "69ebd0e9c298f62d1bcced07a66fce16c43f0e6e0228336e1a56d8df8874b3b9"},
         {L"TechlibDEC99.doc", "d1a592c2e3729270860ec3dcac357799e2667fa9859febd1b258c6ca3612f532"},
         {L"TechlibDEC99-JAN00.doc", "360db5c11b1f21c60ffbf7aa040a91f48fdef402663c303cfeddd4ef4a3dc9cd"},
         {L"TechlibNOV99.doc", "b1e6b103cc5a9b759dd0a436d45bba131e69ca06a8b4c99d9beebf76d95cde93"},
     }},
    {"multi-name-property.tnef", kDecodes, {}},
    {"multi-value-attribute.tnef", kDecodes,
     {
         {L"208225__5_seconds__Voice_Mail.mp3", "cf2e3cd4175a3acd5cd193623cd8f79fda1c22f4823560213e561851c3fdd4e8"},
     }},
    {"one-file.tnef", kDecodes,
     {
         {L"AUTHORS", "36c47da7d11846caf0474a4b3df83bb4eba9ea01d2bca500c288fa108e123d28"},
     }},
    {"oom.tnef", kDecodes, {}},
    {"panic.dat", kDecodes,
     {
         {L"image001.jpg", "ee9bec688ebc6b535fa1c06b3c7f388510f501509a2d6ae17e964a3eda92f8db"},
         {L"image002.jpg", "a497dd22b4a1f2de15da0929f17429edb502f94d767a0fa2ce67da35162cc62f"},
         {L"image003.png", "7c65885b27f3cd66501fdb7a4711c22ba8b6f64e51ea6c2a3ec9db6fa968a7b8"},
     }},
    {"quick-winmail.dat", kDecodes,
     {
         {L"quick.doc", "1240639edc264abf046523eed4bd0a154b0c4e487a9ec8b74be9d0c51b7de124"},
         {L"quick.html", "5e7daab0b3edcfeec62bbde2371c95fc4fe7099469448abcee94cd49ffba072e"},
         {L"quick.pdf", "263bea348ce44185f191b32efee29be44ef7ef7cc45ed32b9ae6753b1103d7d0"},
         {L"quick.txt", "becf39adaa5a3526600ed1d443b5fd382e9879c219a08d183c0660382c59fb56"},
         {L"quick.xml", "cc1704ac3bf0c4b83388c4e1912bbca08cc4dadcfc551521112b55794770a20c"},
     }},
    {"rtf.tnef", kDecodes, {}},
    {"signed.tnef", kDecodes,
     {
         {L"smime.p7m", "8a860e61c797df820d9f74112d026e64ee061cf9b3480842535ed8fb5bf3d347"},
     }},
    {"triples.tnef", kDecodes, {}},
    {"two-files.tnef", kDecodes,
     {
         {L"AUTHORS", "36c47da7d11846caf0474a4b3df83bb4eba9ea01d2bca500c288fa108e123d28"},
         {L"README", "d0f163180d6ad5d8d3b4e7c6bc0cc948d05888bff0f69dba375b946ea4c6b0fa"},
     }},
    {"umlaut-filename.tnef", kDecodes,
     {
         {L"d\u00f6cument.pdf", "8ea46aa9a82f286c84fcde21444e17b83a3dfd6b2eabaa433a675c6bf9fcb78c"},
     }},
    {"umlaut.tnef", kDecodes,
     {
         {L"TBZ PARIV GmbH.jpg", "67597116a0dbb64f7576edbf4285183441536529aa5643b4127de7d4e0097822"},
         {L"image003.jpg", "49b597682736b44a6ce499a05bcadf60d996244b5679d46cfe37ad5cc820fb00"},
         {L"UmlautAnhang-\u00e4\u00fc\u00f6.txt", "9b34b140af86a7de1be22a13fd6bc8abf03abb8094c0e65751b2f221188a3b41"},
     }},
    {"umlaute.tnef", kDecodes,
     {
         {L"Dog with o\u0308a\u0308u\u0308.jpg", "68180ecf3aa5f71f523b0c219042b91d9556542d605d2a1f24237ea273b9cced"},
     }},
    {"unicode-mapi-attr-name.tnef", kDecodes,
     {
         {L"spaconsole2.cfg", "4d9639506fa4bf42ede43ffbaa8ed5a8f8fe2338bc2562f9b9aef7970bc4a25e"},
         {L"image001.png", "037f9d1fa06bccd31878332853814a43e6ed86b3893770b42b057597b49d19c9"},
         {L"image002.png", "ea179fb97a7e850e58b830f51a1fe411d5a4e5ffb1620c895abe9788cfac6f07"},
         {L"image003.png", "20c51557b9c7ec0a5da9ccfd4c2efb0ff7be72d15b05e1ddecc3d1c69fc8eaa9"},
     }},
    {"unicode-mapi-attr.tnef", kDecodes,
     {
         {L"example.dat", "b188960490adc65828dc99f6183137bd9951725ed739982920c9814bc842ccb5"},
     }},
    {"winmail-1.dat", kDecodes, {}},
    {"winmail.tnef", kDecodes, {}},
    {"ytnef-oob-TNEFVersion-SwapWord", kDecodes, {}},
};
// clang-format on

const TSample* Tabled(const std::string& sample) {
  for (const TSample& row : kSamples)
    if (sample == row.File) return &row;
  return nullptr;
}

TEST(TTNEFConvertSamples, EverySampleDecodesAsTabled) {
  std::set<std::string> seen;
  for (const auto& entry : fs::directory_iterator(TestData() / "tnef")) {
    const std::string sample = entry.path().filename().string();
    if (sample == "SOURCES.tsv") continue;
    seen.insert(sample);
    const TSample* row = Tabled(sample);
    if (row == nullptr) {
      ADD_FAILURE() << sample << ": a sample the table does not list";
      continue;
    }
    vlm::test::TScratchFolder out;
    std::vector<std::wstring> resultFile;
    TOutcome outcome = kDecodes;
    try {
      vlm::TTNEFConvert converter(entry.path());
      converter.Convert(resultFile, out.Path());
    } catch (const vlm::ETNEFConvert&) {
      outcome = kRaises;
    } catch (const std::exception& e) {
      ADD_FAILURE() << sample << ": not our own error: " << e.what();
    }
    EXPECT_EQ(outcome, row->Outcome) << sample;
    // The folder holds exactly the files ResultFile names: nothing half-written, nothing else.
    const auto written = vlm::test::FolderContents(out.Path());
    EXPECT_EQ(written.size(), resultFile.size()) << sample;
    std::vector<std::wstring> names;
    for (const auto& file : row->Files) names.push_back(file.Name);
    EXPECT_EQ(resultFile, names) << sample;
    for (const auto& file : row->Files) {
      const auto found = written.find(file.Name);
      if (found == written.end()) {
        ADD_FAILURE() << sample << ": " << vlm::ToUtf8(file.Name) << " not written";
        continue;
      }
      EXPECT_EQ(vlm::test::Sha256Hex(found->second), file.Sha256)
          << sample << ": " << vlm::ToUtf8(file.Name);
    }
  }
  for (const TSample& row : kSamples) EXPECT_TRUE(seen.count(row.File)) << row.File << " missing";
}

// The tabled digests are the published ones: each file is one that another decoder's test suite
// publishes for the same sample, and one of the same name has the same content.
TEST(TTNEFConvertSamples, TabledFilesAreThePublishedOnes) {
  const auto expected = LoadExpected();
  size_t compared = 0;
  for (const TSample& row : kSamples) {
    const auto found = expected.find(row.File);
    if (found == expected.end()) continue;
    ++compared;
    for (const auto& file : row.Files) {
      const std::string utf8Name = vlm::ToUtf8(file.Name);
      EXPECT_TRUE(found->second.digests.count(file.Sha256))
          << row.File << ": " << utf8Name << " is none of the published files";
      if (const auto sameName = found->second.digestsByName.find(utf8Name);
          sameName != found->second.digestsByName.end()) {
        EXPECT_TRUE(sameName->second.count(file.Sha256))
            << row.File << ": " << utf8Name << " differs";
      }
    }
  }
  EXPECT_GE(compared, 15u);
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

TEST(TTNEFConvertSamples, TitlesExactlyAsBeforeWithLongNamesOff) {
  for (const auto& [sample, titles] : kTitleListings) {
    vlm::test::TScratchFolder out;
    std::vector<std::wstring> resultFile;
    vlm::TTNEFConvert converter(TestData() / "tnef" / sample);
    converter.SetLongFileNames(false);
    converter.Convert(resultFile, out.Path());
    EXPECT_EQ(resultFile, titles) << sample;
  }
}

}  // namespace

namespace {

// The property walk reads a file from disk when the system will not map it, and from memory when
// it does: both must find the same attachments, names and tags in every real sample.
TEST(ReadTnefInfo, ReadsTheSameFromDiskAsFromMemory) {
  std::size_t samples = 0;
  for (const auto& entry : fs::recursive_directory_iterator(TestData() / "tnef")) {
    if (!entry.is_regular_file() || entry.path().extension() == ".txt") continue;
    ++samples;
    const std::string bytes = vlm::test::ReadFile(entry.path());
    const vlm::TTnefInfo fromDisk = vlm::ReadTnefInfo(entry.path());
    const vlm::TTnefInfo fromMemory = vlm::ReadTnefInfo(std::string_view(bytes));
    const std::string name = entry.path().filename().string();
    EXPECT_EQ(fromDisk.CodePage, fromMemory.CodePage) << name;
    ASSERT_EQ(fromDisk.Attachments.size(), fromMemory.Attachments.size()) << name;
    for (std::size_t i = 0; i < fromDisk.Attachments.size(); ++i) {
      const auto& disk = fromDisk.Attachments[i];
      const auto& memory = fromMemory.Attachments[i];
      EXPECT_EQ(disk.DataOffset, memory.DataOffset) << name << " #" << i;
      EXPECT_EQ(disk.LongName, memory.LongName) << name << " #" << i;
      EXPECT_EQ(disk.MimeTag, memory.MimeTag) << name << " #" << i;
      EXPECT_EQ(disk.PropertiesRead, memory.PropertiesRead) << name << " #" << i;
    }
  }
  EXPECT_GT(samples, 0u);
}

}  // namespace
