#pragma once
// The CH375 in its built-in firmware mode over libusb-1.0: vendor 0x4348 or 0x1A86,
// product 0x5537, bulk endpoints 0x02 out and 0x82 in, 64-byte packets.
#include <atomic>
#include <mutex>

#include "transfer/Ch375.h"

struct libusb_context;
struct libusb_device_handle;

namespace ohmlet {

class LibusbCh375 : public Ch375 {
public:
    LibusbCh375();
    ~LibusbCh375() override;

    LinkResult OpenDevice(unsigned index) override;
    std::string DeviceName(unsigned index) override;
    LinkResult WriteData(unsigned index, const unsigned char* data, std::size_t& count) override;
    LinkResult ReadData(unsigned index, unsigned char* data, std::size_t& count) override;
    void AbortWrite(unsigned index) override;
    void AbortRead(unsigned index) override;
    void CloseDevice(unsigned index) override;

    // How long one read or write may take before it reports "timed out".
    static constexpr unsigned kTransferTimeoutMs = 5000;

private:
    LinkResult Transfer(unsigned char endpoint, unsigned char* data, std::size_t& count,
                        std::atomic<bool>& abort);

    libusb_context* context_ = nullptr;
    libusb_device_handle* handle_ = nullptr;
    unsigned openIndex_ = 0;
    std::string name_;
    std::atomic<bool> abortWrite_{false};
    std::atomic<bool> abortRead_{false};
};

}  // namespace ohmlet
