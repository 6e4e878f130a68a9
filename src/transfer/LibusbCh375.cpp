#include "transfer/LibusbCh375.h"

#include <libusb.h>

#include <algorithm>
#include <vector>

namespace ohmlet {
namespace {

constexpr uint16_t kVendors[] = {0x4348, 0x1A86};
constexpr uint16_t kProduct = 0x5537;
constexpr unsigned char kEndpointOut = 0x02;
constexpr unsigned char kEndpointIn = 0x82;
// Short slices, so an abort from the UI thread is seen quickly.
constexpr unsigned kSliceMs = 200;

LinkResult FromLibusb(int code, const std::string& what) {
    LinkResult r;
    switch (code) {
        case LIBUSB_SUCCESS:
            return r;
        case LIBUSB_ERROR_ACCESS:
            r.code = LinkStatus::PermissionDenied;
            break;
        case LIBUSB_ERROR_NO_DEVICE:
        case LIBUSB_ERROR_NOT_FOUND:
            r.code = LinkStatus::NoSuchDevice;
            break;
        case LIBUSB_ERROR_BUSY:
            r.code = LinkStatus::InUse;
            break;
        case LIBUSB_ERROR_TIMEOUT:
            r.code = LinkStatus::TimedOut;
            break;
        default:
            r.code = LinkStatus::Failed;
            break;
    }
    r.cause = what + ": " + libusb_strerror(static_cast<libusb_error>(code));
    return r;
}

bool IsCh375(libusb_device* device) {
    libusb_device_descriptor d{};
    if (libusb_get_device_descriptor(device, &d) != LIBUSB_SUCCESS) return false;
    return d.idProduct == kProduct &&
           std::find(std::begin(kVendors), std::end(kVendors), d.idVendor) != std::end(kVendors);
}

}  // namespace

LibusbCh375::LibusbCh375() {
    if (libusb_init(&context_) != LIBUSB_SUCCESS) context_ = nullptr;
}

LibusbCh375::~LibusbCh375() {
    CloseDevice(openIndex_);
    if (context_) libusb_exit(context_);
}

LinkResult LibusbCh375::OpenDevice(unsigned index) {
    if (!context_) return {LinkStatus::Failed, {}, "libusb could not be initialised"};
    if (handle_) return {LinkStatus::InUse, {}, "a device is already open"};
    libusb_device** list = nullptr;
    ssize_t n = libusb_get_device_list(context_, &list);
    if (n < 0) return FromLibusb(static_cast<int>(n), "listing USB devices");
    std::vector<libusb_device*> chips;
    for (ssize_t i = 0; i < n; ++i) {
        if (IsCh375(list[i])) chips.push_back(list[i]);
    }
    LinkResult result;
    if (index >= chips.size()) {
        result = {
            LinkStatus::NoSuchDevice, {}, "USB" + std::to_string(index + 1) + " is not connected"};
    } else {
        libusb_device* device = chips[index];
        int rc = libusb_open(device, &handle_);
        if (rc != LIBUSB_SUCCESS) {
            handle_ = nullptr;
            result = FromLibusb(rc, "opening the device");
        } else {
            libusb_set_auto_detach_kernel_driver(handle_, 1);
            rc = libusb_claim_interface(handle_, 0);
            if (rc != LIBUSB_SUCCESS) {
                result = FromLibusb(rc, "claiming the device");
                libusb_close(handle_);
                handle_ = nullptr;
            } else {
                openIndex_ = index;
                name_ = "usb:" + std::to_string(libusb_get_bus_number(device)) + "-" +
                        std::to_string(libusb_get_device_address(device));
            }
        }
    }
    libusb_free_device_list(list, 1);
    return result;
}

std::string LibusbCh375::DeviceName(unsigned index) {
    return handle_ && index == openIndex_ ? name_ : std::string();
}

LinkResult LibusbCh375::Transfer(unsigned char endpoint, unsigned char* data, std::size_t& count,
                                 std::atomic<bool>& abort) {
    std::size_t want = count;
    count = 0;
    if (!handle_) return {LinkStatus::NoSuchDevice, {}, "the device is not open"};
    const char* what = endpoint == kEndpointIn ? "reading a block" : "sending a request";
    // An abort that came before this call began is meant for it: the caller checked
    // for a cancel before calling, and the abort may have landed just after that.
    // Whatever way the call ends, both aborts are spent, so a cancel that hit the read
    // does not also stop the end request that follows; the caller sets its own cancel
    // flag before aborting and looks at it after every call, so nothing is lost.
    struct Spend {
        LibusbCh375& chip;
        ~Spend() {
            chip.abortWrite_ = false;
            chip.abortRead_ = false;
        }
    } spend{*this};
    for (unsigned waited = 0; waited < kTransferTimeoutMs; waited += kSliceMs) {
        if (abort) return {LinkStatus::Aborted, {}, {}};
        int done = 0;
        int rc =
            libusb_bulk_transfer(handle_, endpoint, data, static_cast<int>(want), &done, kSliceMs);
        if (rc == LIBUSB_ERROR_TIMEOUT && done == 0) continue;
        count = static_cast<std::size_t>(std::max(done, 0));
        if (rc == LIBUSB_ERROR_TIMEOUT) return {};
        // A halted endpoint stays halted until cleared, through a reopen too: clear it
        // so the next transfer can start afresh.
        if (rc == LIBUSB_ERROR_PIPE) libusb_clear_halt(handle_, endpoint);
        return FromLibusb(rc, what);
    }
    return {LinkStatus::TimedOut, {}, what};
}

LinkResult LibusbCh375::WriteData(unsigned index, const unsigned char* data, std::size_t& count) {
    if (index != openIndex_) return {LinkStatus::NoSuchDevice, {}, "the device is not open"};
    std::vector<unsigned char> copy(data, data + count);  // libusb wants a mutable buffer
    return Transfer(kEndpointOut, copy.data(), count, abortWrite_);
}

LinkResult LibusbCh375::ReadData(unsigned index, unsigned char* data, std::size_t& count) {
    if (index != openIndex_) return {LinkStatus::NoSuchDevice, {}, "the device is not open"};
    return Transfer(kEndpointIn, data, count, abortRead_);
}

void LibusbCh375::AbortWrite(unsigned) { abortWrite_ = true; }
void LibusbCh375::AbortRead(unsigned) { abortRead_ = true; }

void LibusbCh375::CloseDevice(unsigned index) {
    if (!handle_ || index != openIndex_) return;
    libusb_release_interface(handle_, 0);
    libusb_close(handle_);
    handle_ = nullptr;
    name_.clear();
    abortWrite_ = false;  // a cancel of this connection is not one of the next
    abortRead_ = false;
}

}  // namespace ohmlet
