#include "storage/registration.h"

#include "platform/upgrade/upgrade.h"
#include "storage/records.h"

namespace {

// The one-field file the driver is announced with; it is never opened.
struct DriverSampleRecord : files::Record {
  DriverSampleRecord() : Record("DRV") {}
  files::String<1> Sample{this, "Sample"};
};
DriverSampleRecord DRV;
files::File DriverSample(DRV, "DriverSample", "kvxdrv", 1);

}  // namespace

void RegisterFilesWithUpgradePack() {
  static bool done = false;
  if (done) return;
  done = true;
  upgrade::ds_AddDriver("Tps", DriverSample);
  upgrade::ds_IgnoreDriver("AllFiles", 1);
  files::File* const inOrder[] = {&AddWizard, &Album, &Categories, &Fonts,           &Labels,
                                  &KVXTips,   &Media, &Cantorix,   &PlaylistDetails, &PlaylistMaster};
  for (files::File* f : inOrder)
    upgrade::ds_UsingFile(f->prefix(), f->label(), *f, f->version());
}
