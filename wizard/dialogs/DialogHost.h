// What the wizard's dialogs take from the library they run in: the user's
// profile folder and the library's own folder (paths of 260 characters at
// most), the icon of its windows, and the application object's dimension
// text. The library installs the host that answers from its application
// object; tests install their own.
#pragma once

#include <string>

#include "platform/win32/win32_types.h"

struct HELPINFO;

class DialogHost {
 public:
  virtual ~DialogHost();
  // The profile folder (ending in '\') + relative.
  virtual std::string ProfilePath(const char* relative) const = 0;
  // The library's base folder (ending in '\') + relative.
  virtual std::string BasePath(const char* relative) const = 0;
  virtual HICON Icon() const = 0;
  // The text the next product request writes as the product's dimension.
  virtual void SetDimText(const char* text) = 0;
};

// The installed host; without one, empty folders, no icon, and a dimension
// text that goes nowhere.
DialogHost& TheDialogHost();
// Installs a host (null: none) and returns the previous one.
DialogHost* SetDialogHost(DialogHost* host);

// The dialogs' help: the topic of "HELP\JOV2D.CHM" beside the library.
void ShowWizardHelp(HWND caller, const char* topic);
// A control's help: string `topic` of the HTML help file chm as a text
// popup at the request's mouse position.
void ShowHelpPopup(HWND caller, const std::string& chm, UINT topic, const HELPINFO* request);
