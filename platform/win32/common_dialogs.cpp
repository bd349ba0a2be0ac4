#include "platform/win32/common_dialogs.h"

#include <sys/stat.h>

#include <cstring>
#include <string>

#include "platform/win32/path_resolver.h"
#include "platform/win32/driver/ui_driver.h"

namespace {

DWORD g_error = 0;

// "a\0b\0\0" -> "a|b"
std::string FilterText(LPCSTR filter) {
  std::string out;
  if (!filter) return out;
  for (const char* p = filter; *p; p += std::strlen(p) + 1) {
    if (!out.empty()) out += '|';
    out += p;
  }
  return out;
}

size_t NameStart(const std::string& path) {
  size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? 0 : slash + 1;
}

bool Exists(const std::string& path, bool folder) {
  struct stat st;
  if (stat(ResolvePath(path).c_str(), &st) != 0) return false;
  return folder ? S_ISDIR(st.st_mode) : true;
}

BOOL Fail(UiEvent& event, DWORD error, const std::string& why) {
  g_error = error;
  event.failed = !why.empty();
  event.detail = why;
  RecordUiEvent(std::move(event));
  return FALSE;
}

BOOL Run(OPENFILENAMEA* ofn, bool save) {
  g_error = 0;
  if (!ofn || (ofn->lStructSize != kOpenFileNameSize && ofn->lStructSize != kOpenFileNameSizeVersion400)) {
    g_error = CDERR_STRUCTSIZE;
    return FALSE;
  }
  FileDialogCall call;
  call.owner = ofn->hwndOwner;
  call.save = save;
  call.title = ofn->lpstrTitle ? ofn->lpstrTitle : "";
  call.filter = FilterText(ofn->lpstrFilter);
  call.filterIndex = static_cast<int>(ofn->nFilterIndex);
  call.defaultExtension = ofn->lpstrDefExt ? ofn->lpstrDefExt : "";
  call.initialFile = ofn->lpstrFile ? ofn->lpstrFile : "";
  call.initialFolder = ofn->lpstrInitialDir ? ofn->lpstrInitialDir : "";
  call.flags = ofn->Flags;

  UiEvent event;
  event.kind = UiEvent::Kind::FileDialog;
  event.file = call;
  std::optional<FileDialogAnswer> answer = CurrentUiDriver().AnswerFileDialog(call);
  event.answered = answer.has_value();
  if (!answer || answer->cancelled) {
    event.fileAnswer.cancelled = true;
    return Fail(event, 0, "");
  }
  std::string path = answer->path;
  event.fileAnswer = *answer;
  const size_t nameAt = NameStart(path);
  if (nameAt == path.size()) return Fail(event, FNERR_INVALIDFILENAME, "no file name");
  const size_t dot = path.find_last_of('.');
  const bool hasExtension = dot != std::string::npos && dot >= nameAt;
  if (!hasExtension && !call.defaultExtension.empty()) path += "." + call.defaultExtension;
  event.fileAnswer.path = path;

  const bool exists = Exists(path, false);
  if ((ofn->Flags & OFN_FILEMUSTEXIST) && !save && !exists) return Fail(event, 0, path + " does not exist");
  if ((ofn->Flags & (OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST)) && nameAt > 0 &&
      !Exists(path.substr(0, nameAt - 1), true))
    return Fail(event, 0, "the folder of " + path + " does not exist");
  if (save && exists && (ofn->Flags & OFN_OVERWRITEPROMPT)) {
    const std::string text = path.substr(nameAt) + " already exists.\nDo you want to replace it?";
    if (MessageBoxA(ofn->hwndOwner, text.c_str(), call.title.empty() ? "Save As" : call.title.c_str(),
                    MB_YESNO | MB_ICONWARNING) != IDYES)
      return Fail(event, 0, "replacing " + path + " was refused");
  }
  if (!ofn->lpstrFile || ofn->nMaxFile <= path.size()) {
    if (ofn->lpstrFile && ofn->nMaxFile >= 2) {
      // The size needed goes into the buffer's first two bytes.
      const WORD needed = static_cast<WORD>(path.size() + 1);
      std::memcpy(ofn->lpstrFile, &needed, sizeof needed);
    }
    return Fail(event, FNERR_BUFFERTOOSMALL, "the path does not fit the buffer");
  }
  std::memcpy(ofn->lpstrFile, path.c_str(), path.size() + 1);
  ofn->nFileOffset = static_cast<WORD>(nameAt);
  const size_t finalDot = path.find_last_of('.');
  ofn->nFileExtension =
      finalDot != std::string::npos && finalDot >= nameAt ? static_cast<WORD>(finalDot + 1) : 0;
  if (ofn->lpstrFileTitle && ofn->nMaxFileTitle > 0) {
    std::string title = path.substr(nameAt);
    size_t n = std::min(title.size(), static_cast<size_t>(ofn->nMaxFileTitle) - 1);
    std::memcpy(ofn->lpstrFileTitle, title.data(), n);
    ofn->lpstrFileTitle[n] = '\0';
  }
  if (!call.defaultExtension.empty() && ofn->nFileExtension &&
      std::strcmp(path.c_str() + ofn->nFileExtension, call.defaultExtension.c_str()) != 0)
    ofn->Flags |= OFN_EXTENSIONDIFFERENT;
  RecordUiEvent(std::move(event));
  return TRUE;
}

}  // namespace

BOOL GetOpenFileNameA(OPENFILENAMEA* ofn) { return Run(ofn, false); }

BOOL GetSaveFileNameA(OPENFILENAMEA* ofn) { return Run(ofn, true); }

DWORD CommDlgExtendedError() { return g_error; }
