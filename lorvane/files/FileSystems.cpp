#include "files/FileSystems.h"

#include <QFile>

#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>

#include <algorithm>
#include <array>

namespace lorvane {

namespace {

constexpr std::array<const char*, 22> PseudoTypes = {
    "autofs",     "binfmt_misc", "bpf",      "cgroup",   "cgroup2", "configfs",
    "debugfs",    "devpts",      "devtmpfs", "efivarfs", "fusectl", "hugetlbfs",
    "mqueue",     "nsfs",        "proc",     "pstore",   "resctrl", "rpc_pipefs",
    "securityfs", "selinuxfs",   "sysfs",    "tracefs"};

// Magic numbers of statfs that <linux/magic.h> does not name.
constexpr unsigned long ConfigfsMagic = 0x62656570;
constexpr unsigned long FusectlMagic = 0x65735543;
constexpr unsigned long MqueueMagic = 0x19800202;
constexpr unsigned long RpcPipefsMagic = 0x67596969;

// statfs answers these without a look at the mount table. devtmpfs says it is tmpfs,
// which users do keep files on, so tmpfs needs the table.
constexpr std::array<unsigned long, 21> PseudoMagics = {
    AUTOFS_SUPER_MAGIC,  BINFMTFS_MAGIC,   BPF_FS_MAGIC,    CGROUP_SUPER_MAGIC,
    CGROUP2_SUPER_MAGIC, ConfigfsMagic,    DEBUGFS_MAGIC,   DEVPTS_SUPER_MAGIC,
    EFIVARFS_MAGIC,      FusectlMagic,     HUGETLBFS_MAGIC, MqueueMagic,
    NSFS_MAGIC,          PROC_SUPER_MAGIC, PSTOREFS_MAGIC,  RDTGROUP_SUPER_MAGIC,
    RpcPipefsMagic,      SECURITYFS_MAGIC, SELINUX_MAGIC,   SYSFS_MAGIC,
    TRACEFS_MAGIC};

// The type the mount table gives the file system of device, "" when none.
QByteArray mountedType(dev_t device) {
    QFile table(QStringLiteral("/proc/self/mountinfo"));
    if (!table.open(QIODevice::ReadOnly))
        return {};
    const QByteArray wanted =
        QByteArray::number(major(device)) + ':' + QByteArray::number(minor(device));
    // "id parent major:minor root mount-point options [optional...] - type source ..."
    for (const QByteArray& line : table.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() < 3 || fields[2] != wanted)
            continue;
        const qsizetype dash = fields.indexOf("-");
        if (dash >= 0 && dash + 1 < fields.size())
            return fields[dash + 1];
    }
    return {};
}

} // namespace

bool IsPseudoFileSystemType(const QByteArray& type) {
    return std::any_of(PseudoTypes.begin(), PseudoTypes.end(),
                       [&](const char* t) { return type == t; });
}

bool IsOnPseudoFileSystem(const QByteArray& folder) {
    const char* path = folder.isEmpty() ? "." : folder.constData();
    struct statfs fs {};
    if (::statfs(path, &fs) != 0)
        return false;
    const auto magic = static_cast<unsigned long>(fs.f_type);
    if (std::find(PseudoMagics.begin(), PseudoMagics.end(), magic) != PseudoMagics.end())
        return true;
    struct stat st {};
    return magic == TMPFS_MAGIC && ::stat(path, &st) == 0 &&
           IsPseudoFileSystemType(mountedType(st.st_dev));
}

} // namespace lorvane
