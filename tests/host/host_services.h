#pragma once
// The stand-in host's services behind its BKA_ functions: the mail store, host buffers, the
// temporary files and the text conversions.
#include <cstdint>
#include <string>

namespace host {

// The mail store: one file a message, Store\<id>.eml below the work folder.
std::wstring MailPath(const std::string& id);
const char* CurrentMail();
void SelectMail(const std::string& id);
std::uint32_t MailStatus(const char* mail);
void SetMailStatus(const std::string& id, std::uint32_t flags);
char* MailSource(const char* mail);
void SetMailSource(const char* mail, const char* source);
char* MailHeader(const char* mail);
void GetSpecifiedHeader(const char* header, char* buffer, int size);
void SetSpecifiedHeader(const char* header, const char* value);
std::string CurrentFolder();

const char* TempFileName(const char* type);

// Host buffers: every Alloc must be freed exactly once; OutstandingBuffers tells what was not.
void* Alloc(std::uint32_t size);
void Free(void* buffer);
int OutstandingBuffers();

char* Iso2022Jp(const char* text, int encode);
char* MimeHeader(const char* text, char* buffer, int size, int encode);
int B64Convert(const char* output, const char* input, int encode);

}  // namespace host
