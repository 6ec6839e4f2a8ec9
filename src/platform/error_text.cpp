// System error numbers in plain words, for every system (Windows' C
// runtime sets errno too).
#include "platform/file_ops.h"

#include <cerrno>
#include <cstring>

namespace tb::platform {

std::string errno_reason(int err) {
    switch (err) {
        case ENOSPC: return "the disk is full";
#ifdef EDQUOT
        case EDQUOT: return "the disk quota is used up";
#endif
        case EFBIG: return "the file is too large for this system's limit";
        case EACCES: case EPERM: return "permission denied";
        case ENAMETOOLONG: return "the name is too long";
        case ENOTDIR: return "a part of the path is not a folder";
        case ENOENT: return "the folder does not exist";
        case EROFS: return "the file system is read-only";
        case EISDIR: return "it is a folder";
        case ELOOP: return "too many symbolic links";
        case EIO: return "an input/output error";
        case EMFILE: case ENFILE: return "too many open files";
        default: return std::strerror(err);
    }
}

}  // namespace tb::platform
