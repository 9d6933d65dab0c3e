#include "platform/open_folder.h"

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

namespace orvu {

std::shared_ptr<const OpenFolder> OpenFolder::open(const std::filesystem::path& folder) {
    int descriptor = -1;
#ifndef _WIN32
    descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
#endif
    return std::shared_ptr<const OpenFolder>(new OpenFolder(folder, descriptor));
}

OpenFolder::OpenFolder(std::filesystem::path path, int descriptor)
    : m_path(std::move(path)), m_descriptor(descriptor) {}

OpenFolder::~OpenFolder() {
#ifndef _WIN32
    if (m_descriptor >= 0)
        ::close(m_descriptor);
#endif
}

} // namespace orvu
