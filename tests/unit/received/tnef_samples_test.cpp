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
// Where a file's digest is confirmed: one of those other decoders' suites publish for the sample;
// the same file from `tnef` run here (the Debian package); that file without the 16-byte
// interface id before an OLE object's data, which this decoder strips; or nowhere, for what only
// this decoder makes (a forwarded message as a message, a body unwrapped from its RTF, a text
// body, the files of a damaged sample).
enum TDigestSource { kPublished, kTnefHere, kTnefWithoutInterfaceId, kOursOnly };
struct TSampleFile {
  std::wstring Name;
  const char* Sha256;
  TDigestSource Source;
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
         {L"XXXXnews.eml", "7adfba32a8b33af044acf9adf28e4aa0b08a950a6db77e9d22bea722da08c8d8", kOursOnly},
         {L"message.html", "bc1594e886ace21dc0c25bdac019de3cc1c68343172fcc154f6a4d682198e61f", kOursOnly},
     }},
    {"MAPI_ATTACH_DATA_OBJ.tnef", kDecodes,
     {
         {L"VIA_Nytt_1402.doc", "9955935516d1407e0f833d91242f7416c68a66eae69e73d855ae17724e04fe60", kPublished},
         {L"VIA_Nytt_1402.pdf", "968c9c4a8a6a02ff9a6c4e2621d5f5d512593a30d57379f704c4274ead48d72e", kPublished},
         {L"VIA_Nytt_14021.htm", "c2ee04f99e59079afa8661913dbd8b9002ea005c7540aaec85a67ed113e9a7b8", kPublished},
         {L"message.rtf", "e803e31e72d8d36f2528719a632d029806d6cbbdf168013865725b602302b0db", kPublished},
     }},
    {"MAPI_OBJECT.tnef", kDecodes,
     {
         {L"Untitled_Attachment", "f89a1afbdfb2fc38b8888b8e0fd84509a801fa6d5491306f6f8d34a3d62931e3", kTnefWithoutInterfaceId},
         {L"message.rtf", "095da1917ef2b6c25839ddd215a916605f95d45a4f780736ed6055107be19c71", kPublished},
     }},
    {"Yeraze-multi-value-attribute.tnef", kDecodes,
     {
         {L"208225 (5 seconds) Voice Mail.mp3", "cf2e3cd4175a3acd5cd193623cd8f79fda1c22f4823560213e561851c3fdd4e8", kPublished},
         {L"message.html", "549b988852d2989ee20e963a118749de4f8a5920714238a5986b401ae733fe07", kOursOnly},
     }},
    {"attachments.dat", kDecodes,
     {
         {L"zappa_av1.jpg", "bea844f30e0fcc20fad419a0d11032a6465da93c1da185a1196949955994409a", kPublished},
         {L"bookmark.htm", "1e08d6e23c75ff80ac992eebc24c2943c7843b7dfee235966b37de5eb4362599", kPublished},
         {L"message.rtf", "5dcd1bdee036cc1c7639bca7f7e96355d80a18f9e366b3be672a3112019d4356", kPublished},
     }},
    {"bad_checksum.tnef", kDecodes,
     {
         {L"image001.png", "b9bdadaf568ade343cbe80e04412a4d5bde780133311c8f7e14ca456e7371a2e", kOursOnly},
         {L"message.html", "324b41c918b54e02d85244b0bbdc7bd49a23d1751092d00523dd7e52b729e892", kOursOnly},
     }},
    {"badchecksum.dat", kDecodes,
     {
         {L"zappa_av1.jpg", "bea844f30e0fcc20fad419a0d11032a6465da93c1da185a1196949955994409a", kPublished},
         {L"bookmark.htm", "1e08d6e23c75ff80ac992eebc24c2943c7843b7dfee235966b37de5eb4362599", kPublished},
         {L"message.rtf", "5dcd1bdee036cc1c7639bca7f7e96355d80a18f9e366b3be672a3112019d4356", kPublished},
     }},
    {"body.tnef", kDecodes,
     {
         {L"message.html", "0f4e697985fbcf97c8bd5797c90bd930cb8b7b163cec3f8ad5895e6f04efea3e", kPublished},
     }},
    {"bug52400-winmail-simple.dat", kDecodes,
     {
         {L"message.html", "a9ddce1bfa40bb0232e5f83e6f3df0d3e946073689090f83ab0ec4f6fade2c3f", kTnefHere},
     }},
    {"bug52400-winmail-with-attachments.dat", kDecodes,
     {
         {L"scion_tc_2007_maintenanceguide.pdf", "b617b1efa60d79c40fbb6f201446ebce8d2fe4f9728c60ea9e2e64012ad6b26e", kTnefHere},
         {L"Duke_Wave.png", "7c02c7331088a3169246fb8aec7f9c4f85f9192122a6b80d6e09d219cd68ec77", kTnefHere},
         {L"message.html", "12dd0029bf8d79666e4fabd7dceaeb68cbf30e669c99a766f67ac0bf15bd61c4", kTnefHere},
     }},
    {"bug63955-winmail.dat", kDecodes,
     {
         {L"SI-61597.pdf", "b9261bf9cbbe2116e1a3c951cb7ae23c46d47922f6458e939cf7ec19673ac89d", kTnefHere},
         {L"SI-61598.pdf", "f8f7f17b72e86d8ea26dc495c34907434a922f6667043e91388ca0f73f1955c3", kTnefHere},
         {L"message.html", "710d92067dc5f8e9d2b0275f502cbef8c21e72f5d59bc0f93e13482e750634f7", kTnefHere},
     }},
    {"christmas.tnef", kDecodes,
     {
         {L"kitten-playing-with-a-christmas-tree.jpg", "f79d79bf20d19d17f4bbc92bc59485be362df93deaa92b71cc0d490d3b7ac935", kPublished},
         {L"Build a train table.eml", "82c76137213491c342612618b66888c37268802b62cb4e6c217c6bd85c94c92b", kOursOnly},
         {L"Christmas Celebration!.eml", "5378f5bd14261501621fe6e103237b1bc5c8476340573e54addab64f6fd809d5", kOursOnly},
         {L"message.rtf", "3716ee1ced39726b038a01a003ff26cbef59d5d37d2c65e38a323ee4db9d7901", kPublished},
     }},
    {"data-before-name.tnef", kDecodes,
     {
         {L"AUTOEXEC.BAT", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855", kPublished},
         {L"CONFIG.SYS", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855", kPublished},
         {L"boot.ini", "a815374e31481bbb939d99e73ecfe1de7914363ecd5c670c60a9022474251bce", kPublished},
         {L"message.rtf", "047bc7915ca95a0273baafc020a51e745a2e68d6f0cc9ba3c326090ff8e7fd8d", kPublished},
     }},
    {"duplicate_filename.tnef", kDecodes,
     {
         {L"file_abcdefgh.txt", "9955935516d1407e0f833d91242f7416c68a66eae69e73d855ae17724e04fe60", kPublished},
         {L"file_abcdefgh (2).txt", "968c9c4a8a6a02ff9a6c4e2621d5f5d512593a30d57379f704c4274ead48d72e", kPublished},
         {L"VIA_Nytt_14021.htm", "c2ee04f99e59079afa8661913dbd8b9002ea005c7540aaec85a67ed113e9a7b8", kPublished},
         {L"message.rtf", "e803e31e72d8d36f2528719a632d029806d6cbbdf168013865725b602302b0db", kPublished},
     }},
    {"empty-file.tnef", kDecodes,
     {
     }},
    {"garbage-at-end.tnef", kDecodes,
     {
     }},
    {"invalid-checksum.tnef", kDecodes,
     {
     }},
    {"long-filename.tnef", kDecodes,
     {
         {L"allproductsmar2000.dat", "de2ad5d4e20a2456ad12808dee82af2d0d1236ddf5bd55832581a7886cdcd807", kPublished},
         {L"message.txt", "d98d982b0011c7748c7a5e087c3c9479b0775ea287c80e1de1060f65a04ff871", kOursOnly},
     }},
    {"mapi_attach_data_obj.tnef", kDecodes,
     {
         {L"VIA_Nytt_1402.doc", "9955935516d1407e0f833d91242f7416c68a66eae69e73d855ae17724e04fe60", kPublished},
         {L"VIA_Nytt_1402.pdf", "43bdc5f6d3c7dea7c898fb538b49931198e4eee0f5c5247742bb8ce564f69050", kOursOnly},
         {L"VIA_Nytt_14021.htm", "c2ee04f99e59079afa8661913dbd8b9002ea005c7540aaec85a67ed113e9a7b8", kPublished},
         {L"message.rtf", "e803e31e72d8d36f2528719a632d029806d6cbbdf168013865725b602302b0db", kPublished},
     }},
    {"minimal_attachment.tnef", kDecodes,
     {
     }},
    {"missing-filenames.tnef", kDecodes,
     {
         {L"generpts.src", "69ebd0e9c298f62d1bcced07a66fce16c43f0e6e0228336e1a56d8df8874b3b9", kPublished},
         {L"TechlibDEC99.doc", "d1a592c2e3729270860ec3dcac357799e2667fa9859febd1b258c6ca3612f532", kPublished},
         {L"TechlibDEC99-JAN00.doc", "360db5c11b1f21c60ffbf7aa040a91f48fdef402663c303cfeddd4ef4a3dc9cd", kPublished},
         {L"TechlibNOV99.doc", "b1e6b103cc5a9b759dd0a436d45bba131e69ca06a8b4c99d9beebf76d95cde93", kPublished},
         {L"message.txt", "637554fc71c4e0eea859e06e394bdf639c9c2bff7574f1b18a9774deccd0662f", kOursOnly},
     }},
    {"multi-name-property.tnef", kDecodes,
     {
     }},
    {"multi-value-attribute.tnef", kDecodes,
     {
         {L"208225__5_seconds__Voice_Mail.mp3", "cf2e3cd4175a3acd5cd193623cd8f79fda1c22f4823560213e561851c3fdd4e8", kPublished},
         {L"message.html", "549b988852d2989ee20e963a118749de4f8a5920714238a5986b401ae733fe07", kOursOnly},
     }},
    {"one-file.tnef", kDecodes,
     {
         {L"AUTHORS", "36c47da7d11846caf0474a4b3df83bb4eba9ea01d2bca500c288fa108e123d28", kPublished},
     }},
    {"oom.tnef", kDecodes,
     {
     }},
    {"panic.dat", kDecodes,
     {
         {L"image001.jpg", "ee9bec688ebc6b535fa1c06b3c7f388510f501509a2d6ae17e964a3eda92f8db", kPublished},
         {L"image002.jpg", "a497dd22b4a1f2de15da0929f17429edb502f94d767a0fa2ce67da35162cc62f", kPublished},
         {L"image003.png", "7c65885b27f3cd66501fdb7a4711c22ba8b6f64e51ea6c2a3ec9db6fa968a7b8", kPublished},
         {L"message.html", "4827810231cf06061e129e0082f7e922137bc75409915d95a1d64907fa0bae00", kOursOnly},
     }},
    {"quick-winmail.dat", kDecodes,
     {
         {L"quick.doc", "1240639edc264abf046523eed4bd0a154b0c4e487a9ec8b74be9d0c51b7de124", kPublished},
         {L"quick.html", "5e7daab0b3edcfeec62bbde2371c95fc4fe7099469448abcee94cd49ffba072e", kPublished},
         {L"quick.pdf", "263bea348ce44185f191b32efee29be44ef7ef7cc45ed32b9ae6753b1103d7d0", kPublished},
         {L"quick.txt", "becf39adaa5a3526600ed1d443b5fd382e9879c219a08d183c0660382c59fb56", kPublished},
         {L"quick.xml", "cc1704ac3bf0c4b83388c4e1912bbca08cc4dadcfc551521112b55794770a20c", kPublished},
         {L"message.rtf", "81f0340e47351ec2472303af15d31381169b0d9caad489d4b24383eb727671a0", kPublished},
     }},
    {"rtf.tnef", kDecodes,
     {
         {L"message.rtf", "285e04e771fe1f1d699d8c7c6ce5d5fcf4dfebf239d9ed002239662e4862bde7", kPublished},
     }},
    {"signed.tnef", kDecodes,
     {
         {L"smime.p7m", "8a860e61c797df820d9f74112d026e64ee061cf9b3480842535ed8fb5bf3d347", kTnefHere},
         {L"message.html", "913f46fa1c597c655d92a507fafdaa9aa4aa890db40cb2f31787654d4c775d7f", kOursOnly},
     }},
    {"triples.tnef", kDecodes,
     {
         {L"message.rtf", "8bbeaeb23fc3a13faaccd850e600d78aa01fce545f0ce9759c66a5a47867e29b", kPublished},
         {L"message.txt", "7bd083a2a0823481c6a6bd1109c2c4f54d8a8a324e4c33f39ab0558c1ec57a25", kOursOnly},
     }},
    {"two-files.tnef", kDecodes,
     {
         {L"AUTHORS", "36c47da7d11846caf0474a4b3df83bb4eba9ea01d2bca500c288fa108e123d28", kPublished},
         {L"README", "d0f163180d6ad5d8d3b4e7c6bc0cc948d05888bff0f69dba375b946ea4c6b0fa", kPublished},
     }},
    {"umlaut-filename.tnef", kDecodes,
     {
         {L"d\u00f6cument.pdf", "8ea46aa9a82f286c84fcde21444e17b83a3dfd6b2eabaa433a675c6bf9fcb78c", kTnefHere},
         {L"message.rtf", "e8b1211049b3f64b88c97dcc9e4ad8a347bae6377204354a829b4ada38c3e33a", kTnefHere},
     }},
    {"umlaut.tnef", kDecodes,
     {
         {L"TBZ PARIV GmbH.jpg", "67597116a0dbb64f7576edbf4285183441536529aa5643b4127de7d4e0097822", kTnefHere},
         {L"image003.jpg", "49b597682736b44a6ce499a05bcadf60d996244b5679d46cfe37ad5cc820fb00", kTnefHere},
         {L"UmlautAnhang-\u00e4\u00fc\u00f6.txt", "9b34b140af86a7de1be22a13fd6bc8abf03abb8094c0e65751b2f221188a3b41", kTnefHere},
         {L"message.html", "7e8dc7b1c429ca01673d6eb0629f34c717b7077dbc511a0f63de2efc05a96dc1", kOursOnly},
     }},
    {"umlaute.tnef", kDecodes,
     {
         {L"Dog with o\u0308a\u0308u\u0308.jpg", "68180ecf3aa5f71f523b0c219042b91d9556542d605d2a1f24237ea273b9cced", kTnefHere},
         {L"message.html", "fcdcd756c1e5d2a3adc6cf7f885c9eacae4525878e62fb9b3bd91b8ec02f4641", kTnefHere},
     }},
    {"unicode-mapi-attr-name.tnef", kDecodes,
     {
         {L"spaconsole2.cfg", "4d9639506fa4bf42ede43ffbaa8ed5a8f8fe2338bc2562f9b9aef7970bc4a25e", kPublished},
         {L"image001.png", "037f9d1fa06bccd31878332853814a43e6ed86b3893770b42b057597b49d19c9", kPublished},
         {L"image002.png", "ea179fb97a7e850e58b830f51a1fe411d5a4e5ffb1620c895abe9788cfac6f07", kPublished},
         {L"image003.png", "20c51557b9c7ec0a5da9ccfd4c2efb0ff7be72d15b05e1ddecc3d1c69fc8eaa9", kPublished},
         {L"message.html", "3d598c5cfca21274e62f15bdd62690e6c83de4d46635ad609679437487fcc2bf", kTnefHere},
     }},
    {"unicode-mapi-attr.tnef", kDecodes,
     {
         {L"example.dat", "b188960490adc65828dc99f6183137bd9951725ed739982920c9814bc842ccb5", kPublished},
         {L"message.html", "2b1faef9cdcfcf896e3aaa8b93a33de5285a35e86697397df4b5aa58ad81209f", kTnefHere},
     }},
    {"winmail-1.dat", kDecodes,
     {
         {L"message.html", "66c5f269b3b5508e96a13280220f75ae094a729e5463e3bf1b7ddd045d42ee33", kOursOnly},
     }},
    {"winmail.tnef", kDecodes,
     {
         {L"Untitled Attachment", "385d3d54e32f7f720668a11eae7afac1e690b96327262f691a9f7f27bad32681", kTnefWithoutInterfaceId},
         {L"Untitled Attachment (2)", "f95862718f98d9aa32147e171e3f3f9b79256ad9570ed83ab32572b5aed7d8bc", kTnefWithoutInterfaceId},
         {L"message.rtf", "cad7003a27529058a508e95ef8df485d7e85eaab31bf2a80ef30091e03dd13f2", kPublished},
     }},
    {"ytnef-oob-TNEFVersion-SwapWord", kDecodes,
     {
     }},
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
      if (file.Source != kPublished) continue;
      const std::string utf8Name = vlm::ToUtf8(file.Name);
      EXPECT_TRUE(found->second.digests.count(file.Sha256))
          << row.File << ": " << utf8Name << " is none of the published files";
      // The decoders disagree on bodies of one name: tnef writes PR_HTML's bytes as they are
      // (as this decoder does), MimeKit rewrites them. The digest check above holds for them.
      const bool body = utf8Name.starts_with("message.");
      if (const auto sameName = found->second.digestsByName.find(utf8Name);
          !body && sameName != found->second.digestsByName.end()) {
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
    converter.SetBody(false, false);
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
