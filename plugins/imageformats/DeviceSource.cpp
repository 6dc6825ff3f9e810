#include "DeviceSource.h"

#include <limits>

namespace tamsel::imageformats {

DeviceSource::DeviceSource(QIODevice& device) : device_(device), start_(device.pos()) {}

DeviceSource::~DeviceSource() {
    if (!device_.isSequential()) {
        device_.seek(start_);
    }
}

std::uint64_t DeviceSource::Size() const {
    return device_.isSequential() ? 0
                                  : static_cast<std::uint64_t>(std::max<qint64>(device_.size() - start_, 0));
}

bool DeviceSource::ReadAt(std::uint64_t offset, std::span<std::uint8_t> into) {
    if (device_.isSequential() || offset > Size() || into.size() > Size() - offset ||
        !device_.seek(start_ + static_cast<qint64>(offset))) {
        return false;
    }
    auto* at = reinterpret_cast<char*>(into.data());
    for (auto left = static_cast<qint64>(into.size()); left > 0;) {
        const qint64 got = device_.read(at, left);
        if (got <= 0) {
            return false;
        }
        at += got;
        left -= got;
    }
    return true;
}

}  // namespace tamsel::imageformats
