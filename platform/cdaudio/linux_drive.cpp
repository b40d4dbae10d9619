#include <fcntl.h>
#include <linux/cdrom.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include "platform/cdaudio/cdaudio.h"

namespace cdaudio {
namespace {

// LBA 0 is two seconds into the disc: the table of contents counts from the start of the lead-in.
constexpr int kLbaOffset = 150;

std::optional<cdrom_tocentry> tocEntry(int fd, int track) {
  cdrom_tocentry entry{};
  entry.cdte_track = track;
  entry.cdte_format = CDROM_LBA;
  if (::ioctl(fd, CDROMREADTOCENTRY, &entry) < 0) return std::nullopt;
  return entry;
}

class LinuxDrive : public Drive {
 public:
  explicit LinuxDrive(const QString& node) : node_(QFile::encodeName(node)) {}
  ~LinuxDrive() override { release(); }

  // O_NONBLOCK lets the node open with the tray out or no disc in; no O_EXCL, so players and rippers
  // can share the drive with us.
  bool acquire() override {
    if (fd_ < 0) fd_ = ::open(node_.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    return fd_ >= 0;
  }

  void release() override {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

  DriveState state() override {
    if (fd_ < 0) return DriveState::NotReady;
    switch (::ioctl(fd_, CDROM_DRIVE_STATUS, CDSL_CURRENT)) {
      case CDS_DISC_OK:
        return DriveState::Ready;
      case CDS_TRAY_OPEN:
        return DriveState::TrayOpen;
      case CDS_NO_DISC:
        return DriveState::NoDisc;
      default:
        return DriveState::NotReady;
    }
  }

  std::optional<Toc> toc() override {
    cdrom_tochdr header{};
    if (fd_ < 0 || ::ioctl(fd_, CDROMREADTOCHDR, &header) < 0) return std::nullopt;
    Toc toc;
    for (int track = header.cdth_trk0; track <= header.cdth_trk1; ++track) {
      const std::optional<cdrom_tocentry> entry = tocEntry(fd_, track);
      if (!entry) return std::nullopt;
      toc.tracks.push_back({entry->cdte_addr.lba + kLbaOffset, (entry->cdte_ctrl & CDROM_DATA_TRACK) != 0});
    }
    const std::optional<cdrom_tocentry> leadOut = tocEntry(fd_, CDROM_LEADOUT);
    if (!leadOut) return std::nullopt;
    toc.leadOut = leadOut->cdte_addr.lba + kLbaOffset;
    return toc;
  }

 private:
  QByteArray node_;
  int fd_ = -1;
};

// The kernel lists its drives as columns of one "drive name:" line, in an order of its own; the
// lowest-numbered (sr0 before sr1 before sr10) is the drive a user thinks of as the first.
QString firstListedDrive() {
  QFile info("/proc/sys/dev/cdrom/info");
  if (!info.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
  for (QByteArray line = info.readLine(); !line.isEmpty(); line = info.readLine()) {
    if (!line.startsWith("drive name:")) continue;
    QString first;
    for (const QString& name :
         QString::fromLatin1(line.mid(11)).simplified().split(' ', Qt::SkipEmptyParts)) {
      const QString node = "/dev/" + name;
      if (!QFileInfo::exists(node)) continue;
      if (first.isEmpty() || node.size() < first.size() || (node.size() == first.size() && node < first))
        first = node;
    }
    return first;
  }
  return {};
}

}  // namespace

std::unique_ptr<Drive> systemDrive() {
  QString node = firstListedDrive();
  if (node.isEmpty() && QFileInfo::exists("/dev/cdrom")) node = "/dev/cdrom";
  if (node.isEmpty()) return nullptr;
  return std::make_unique<LinuxDrive>(node);
}

}  // namespace cdaudio
