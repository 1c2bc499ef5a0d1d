#pragma once
// Turns the names of a packing command (files, folders, masks) into the files to store and the
// member names to store them under, the way console archivers read their file arguments.
#include <filesystem>
#include <string>
#include <vector>

namespace standin {

struct SelectedFile {
  std::filesystem::path disk;
  std::string member;  // ANSI, "/" between folders
  bool folder = false;
};

struct SelectRules {
  std::string baseFolder;      // ANSI; relative names are taken from here and stored relative to it
  bool recurse = false;        // folders and masks reach into subfolders
  bool includeHidden = false;  // hidden and system files found in folders are stored too
  bool junkPaths = false;      // members keep the last name component only
  bool folderEntries = false;  // folders become members of their own
  bool unescapeBrackets = false;  // names come through the ZIP name filter ("[-]", "[[]")
};

// Names that match nothing are left out, as console archivers warn and go on; members are
// unique (the first file for a member name wins), in the order the names were given, folders
// walked in name order.
std::vector<SelectedFile> SelectFiles(const std::vector<std::string>& names,
                                      const SelectRules& rules);

}  // namespace standin
