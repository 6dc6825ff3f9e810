#pragma once

#include <QIODevice>

#include "texture/ByteSource.h"

namespace tamsel::imageformats {

// A Qt device as the texture reader's byte source: the file starts where the device stands when the
// source is made, and that is where the device is left when the source goes. Only a device that can
// seek can serve; a sequential one has no bytes.
class DeviceSource final : public texture::ByteSource {
public:
    explicit DeviceSource(QIODevice& device);
    DeviceSource(const DeviceSource&) = delete;
    DeviceSource& operator=(const DeviceSource&) = delete;
    ~DeviceSource() override;

    std::uint64_t Size() const override;
    bool ReadAt(std::uint64_t offset, std::span<std::uint8_t> into) override;

private:
    QIODevice& device_;
    const qint64 start_;
};

}  // namespace tamsel::imageformats
