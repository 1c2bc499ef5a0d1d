#pragma once
// NTFS alternate data streams carried through archives as ordinary members: packing copies each
// named stream into a file beside its owner ("a.txt;stream;$DATA" with the separator ";#"), and
// unpacking puts such files back into streams of their owners.
#include <windows.h>

#include <string>
#include <vector>

#include "archiver/file_system_walk.h"

namespace vlm {

// True when the volume holding `path` reports named-stream support.
bool VolumeHasNamedStreams(const std::wstring& path);

// The stream copies of the file `path` (see TFileSystemWalk::CopyStreams). Nothing on volumes
// without named streams. Throws EFileError when a stream cannot be read or its copy written.
void CopyStreamsOut(const std::wstring& path, const std::wstring& separator,
                    std::vector<TStreamCopy>& made);

// One stream copy: `copy` (which must not exist yet) gets the content of `source` (a stream,
// "owner:name:$DATA"), the owner's times and the owner's attributes without read-only, and is
// added to `made` as soon as it exists. Throws EFileError when the stream cannot be read or the
// copy written.
void WriteStreamCopy(const std::wstring& source, const std::wstring& copy,
                     const BY_HANDLE_FILE_INFORMATION& owner, std::vector<TStreamCopy>& made);

// Puts each extracted stream file of `files` back into the stream it stands for and deletes
// it, when the volume of `dstPath` has named streams. Errors are swallowed: the extracted file
// then stays as it is.
void RestoreStreams(const std::vector<std::wstring>& files, const std::wstring& separator,
                    const std::wstring& dstPath);

}  // namespace vlm
