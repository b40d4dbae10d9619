#include "storage/browse_window.h"

#include <algorithm>

#include "platform/runtime/list_box.h"
#include "platform/runtime/list_format.h"
#include "storage/settings.h"
#include "storage/window_layout.h"

BrowseWindow::BrowseWindow(Decl decl) : decl_(std::move(decl)), window_(decl_.window) {
  files_.emplace(decl_.files);
}

BrowseWindow::~BrowseWindow() {
  if (!opened_) return;  // the files close with the scope
  const int tab = shownTab();
  const QString format = list().format();
  browse_.reset();  // its view reads the files
  files_.reset();
  if (tab) WriteSetting("Settings", decl_.tabSetting, QString::number(tab));
  SaveListLayout(decl_.procedure, decl_.listName, format);
  SaveWindowPosition(window_, decl_.procedure);
  window_.close();
}

rt::ListBox& BrowseWindow::list() const {
  return *window_.control(decl_.list)->list();
}

void BrowseWindow::open() {
  window_.open();
  opened_ = true;
  if (!decl_.minimumSize.isEmpty()) window_.setMinimumSize(decl_.minimumSize);
  RestoreWindowPosition(window_, decl_.procedure);
  const QString designed = rt::replaceDatePictures(decl_.format, Pref::DateFormat.str());
  list().setFormat(RestoreListLayout(decl_.procedure, decl_.listName, designed));
  const int shown = shownTab();
  if (!shown) return;
  const qint64 saved = ReadSettingNumber("Settings", decl_.tabSetting, QString::number(shown));
  if (Pref::SaveLastTab && saved >= 1 && saved <= qint64(decl_.tabs.size()))
    window_.control(decl_.sheet)->selectTab(decl_.tabs[saved - 1]);
}

int BrowseWindow::shownTab() const {
  if (decl_.tabSetting.isEmpty() || !decl_.sheet) return 0;
  const auto place =
      std::find(decl_.tabs.begin(), decl_.tabs.end(), window_.control(decl_.sheet)->currentTab());
  return place == decl_.tabs.end() ? 0 : int(place - decl_.tabs.begin()) + 1;
}

Browse& BrowseWindow::browse(files::File& file, std::vector<BrowseTab> tabs, BrowseButtons buttons) {
  browse_ = std::make_unique<Browse>(window_, decl_.list, decl_.sheet, file, std::move(tabs), buttons);
  return *browse_;
}
