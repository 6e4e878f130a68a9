#include "EmulatedCh375.h"

#include <dlfcn.h>
#include <linux/ioctl.h>
#include <linux/usbdevice_fs.h>
#include <sys/stat.h>
#include <umockdev.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstddef>
#include <filesystem>

#include "transfer/ReplyEncoder.h"

namespace ohmlet::test {
namespace {

constexpr unsigned char kEndpointOut = 0x02;
constexpr unsigned char kEndpointIn = 0x82;

// Device, configuration, interface and the two bulk endpoints, as the chip reports
// them in its built-in firmware mode.
constexpr char kDevice[] =
    "P: /devices/usb1\n"
    "N: bus/usb/001/001\n"
    "E: SUBSYSTEM=usb\n"
    "E: DRIVER=usb\n"
    "E: BUSNUM=001\n"
    "E: DEVNUM=001\n"
    "E: DEVNAME=/dev/bus/usb/001/001\n"
    "E: DEVTYPE=usb_device\n"
    "E: PRODUCT=4348/5537/100\n"
    "A: idVendor=4348\\n\n"
    "A: idProduct=5537\\n\n"
    "A: bConfigurationValue=1\\n\n"
    "A: busnum=1\\n\n"
    "A: devnum=1\\n\n"
    "A: speed=12\\n\n"
    "H: descriptors="
    "12011001ff80370848433755000100000001"
    "090220000101008032"
    "0904000002ff803700"
    "07058202400000"
    "07050202400000\n";

void Complete(UMockdevIoctlClient* client, long result, int error) {
    umockdev_ioctl_client_complete(client, result, error);
}

}  // namespace

EmulatedCh375::EmulatedCh375(ByteBuffer image, bool plugged) : image_(std::move(image)) {
    testbed_ = umockdev_testbed_new();
    handler_ = umockdev_ioctl_base_new();
    g_signal_connect(handler_, "handle-ioctl", G_CALLBACK(OnIoctl), this);
    g_signal_connect(handler_, "client-connected", G_CALLBACK(OnClientConnected), this);
    if (!plugged) return;
    // The handler first, so the device answers as soon as it appears.
    GError* error = nullptr;
    umockdev_testbed_attach_ioctl(testbed_, kDevNode, handler_, &error);
    if (!error) umockdev_testbed_add_from_string(testbed_, kDevice, &error);
    if (error) {
        unknown_ = std::string("testbed: ") + error->message;
        g_error_free(error);
    }
    gchar* root = umockdev_testbed_get_root_dir(testbed_);
    rootDir_ = root;
    nodePath_ = rootDir_ + kDevNode;
    g_free(root);
}

EmulatedCh375::~EmulatedCh375() {
    g_object_unref(testbed_);
    g_object_unref(handler_);
    std::lock_guard<std::mutex> lock(mutex_);
    for (Urb& u : flying_) Release(u);
    for (Urb& u : done_) Release(u);
}

bool EmulatedCh375::InMockEnvironment() {
    // The library's own check looks at things this test does not set up; what matters
    // is whether the preload library is in the process.
    void* preload = dlopen("libumockdev-preload.so.0", RTLD_NOW | RTLD_NOLOAD);
    if (preload) dlclose(preload);
    return preload != nullptr;
}

void EmulatedCh375::FailRead(unsigned block, Fault fault, std::size_t shortBytes) {
    std::lock_guard<std::mutex> lock(mutex_);
    readFaults_[block] = {fault, shortBytes};
}

void EmulatedCh375::FailRequest(unsigned block, Fault fault) {
    std::lock_guard<std::mutex> lock(mutex_);
    requestFaults_[block] = fault;
}

void EmulatedCh375::SetBusy(bool busy) {
    std::lock_guard<std::mutex> lock(mutex_);
    busy_ = busy;
}

void EmulatedCh375::ShareWithOtherUsers() {
    namespace fs = std::filesystem;
    // Folders writable too: a udev monitor binds its emulated socket in the testbed.
    const auto folder = fs::perms::all;
    const auto file = fs::perms::group_read | fs::perms::others_read;
    std::error_code ec;
    fs::permissions(rootDir_, folder, fs::perm_options::add, ec);
    for (const auto& entry : fs::recursive_directory_iterator(rootDir_, ec)) {
        if (entry.is_symlink()) continue;
        // The emulation's sockets are its plumbing, not the device: open to all.
        fs::permissions(entry.path(), entry.is_directory() || entry.is_socket() ? folder : file,
                        fs::perm_options::add, ec);
    }
}

void EmulatedCh375::SetNodeMode(mode_t mode) { chmod(nodePath_.c_str(), mode); }

void EmulatedCh375::OnRequest(unsigned block, std::function<void()> hook) {
    std::lock_guard<std::mutex> lock(mutex_);
    requestHooks_[block] = std::move(hook);
}

std::vector<ByteBuffer> EmulatedCh375::Writes() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return writes_;
}

std::vector<int> EmulatedCh375::RequestedBlocks() const {
    std::vector<int> blocks;
    for (const ByteBuffer& w : Writes()) {
        if (w.size() == 2) blocks.push_back(w[0] << 8 | w[1]);
    }
    return blocks;
}

bool EmulatedCh375::EndedWithEndRequest() const {
    auto writes = Writes();
    return !writes.empty() && writes.back() == ByteBuffer{0, 0, 0};
}

int EmulatedCh375::Claims() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return claims_;
}
int EmulatedCh375::Releases() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return releases_;
}
int EmulatedCh375::HaltClears() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return clears_;
}
int EmulatedCh375::Opens() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return opens_;
}
std::string EmulatedCh375::UnknownRequests() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return unknown_;
}

int EmulatedCh375::OpenHandles() const {
    // The preload library gives the program the testbed's node itself; a handle libusb
    // did not close shows up among this process's descriptors.
    int count = 0;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd", ec)) {
        std::error_code linkError;
        if (std::filesystem::read_symlink(entry.path(), linkError).string() == nodePath_) ++count;
    }
    return count;
}

bool EmulatedCh375::WaitForHangingRead(int timeoutMs) const {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                             [this] { return hanging_ > 0; });
}

void EmulatedCh375::OnClientConnected(UMockdevIoctlBase*, UMockdevIoctlClient*, void* self) {
    auto* me = static_cast<EmulatedCh375*>(self);
    {
        std::lock_guard<std::mutex> lock(me->mutex_);
        ++me->opens_;
    }
}

int EmulatedCh375::OnIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client, void* self) {
    return static_cast<EmulatedCh375*>(self)->HandleIoctl(client);
}

void EmulatedCh375::Release(Urb& u) {
    if (u.urb) umockdev_ioctl_data_unref(u.urb);
    if (u.buffer) umockdev_ioctl_data_unref(u.buffer);
    u.urb = u.buffer = nullptr;
}

bool EmulatedCh375::HandleIoctl(UMockdevIoctlClient* client) {
    const unsigned long request = umockdev_ioctl_client_get_request(client);
    UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
    switch (request) {
        case USBDEVFS_GET_CAPABILITIES: {
            UMockdevIoctlData* caps = umockdev_ioctl_data_resolve(arg, 0, sizeof(guint32), nullptr);
            guint32 value = USBDEVFS_CAP_BULK_CONTINUATION | USBDEVFS_CAP_NO_PACKET_SIZE_LIM |
                            USBDEVFS_CAP_REAP_AFTER_DISCONNECT | USBDEVFS_CAP_ZERO_PACKET;
            umockdev_ioctl_data_update(caps, 0, reinterpret_cast<guint8*>(&value), sizeof value);
            umockdev_ioctl_data_unref(caps);
            Complete(client, 0, 0);
            return true;
        }
        case USBDEVFS_SUBMITURB:
            Submit(client);
            return true;
        case USBDEVFS_REAPURB:
        case USBDEVFS_REAPURBNDELAY:
            Reap(client);
            return true;
        case USBDEVFS_DISCARDURB:
            Discard(client);
            return true;
        default:
            break;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    switch (request) {
        case USBDEVFS_DISCONNECT_CLAIM:
        case USBDEVFS_CLAIMINTERFACE:
            if (gone_) {
                Complete(client, -1, ENODEV);
            } else if (busy_) {
                Complete(client, -1, EBUSY);
            } else {
                ++claims_;
                Complete(client, 0, 0);
            }
            return true;
        case USBDEVFS_RELEASEINTERFACE:
            if (gone_) {
                Complete(client, -1, ENODEV);
            } else {
                ++releases_;
                Complete(client, 0, 0);
            }
            return true;
        case USBDEVFS_CLEAR_HALT: {
            UMockdevIoctlData* ep = umockdev_ioctl_data_resolve(arg, 0, sizeof(unsigned), nullptr);
            unsigned endpoint = ep ? *reinterpret_cast<unsigned*>(ep->data) : 0;
            if (ep) umockdev_ioctl_data_unref(ep);
            (endpoint == kEndpointIn ? haltedIn_ : haltedOut_) = false;
            ++clears_;
            Complete(client, gone_ ? -1 : 0, gone_ ? ENODEV : 0);
            return true;
        }
        case USBDEVFS_GETDRIVER:
        case USBDEVFS_IOCTL:
            Complete(client, -1, ENODATA);  // no kernel driver is bound to the chip
            return true;
        default:
            unknown_ += std::to_string(request) + " ";
            Complete(client, -1, ENOTTY);
            return true;
    }
}

void EmulatedCh375::Submit(UMockdevIoctlClient* client) {
    UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
    Urb u;
    u.urb = umockdev_ioctl_data_resolve(arg, 0, sizeof(usbdevfs_urb), nullptr);
    const auto* urb = reinterpret_cast<const usbdevfs_urb*>(u.urb->data);
    u.endpoint = urb->endpoint;
    u.length = urb->buffer_length;
    const unsigned char type = urb->type;
    if (u.length > 0)
        u.buffer = umockdev_ioctl_data_resolve(u.urb, offsetof(usbdevfs_urb, buffer),
                                               static_cast<gsize>(u.length), nullptr);
    std::function<void()> hook;
    std::unique_lock<std::mutex> lock(mutex_);
    if (gone_ || type != USBDEVFS_URB_TYPE_BULK ||
        (u.endpoint != kEndpointIn && u.endpoint != kEndpointOut)) {
        Complete(client, -1, gone_ ? ENODEV : EINVAL);
        Release(u);
        return;
    }
    if (u.endpoint == kEndpointOut) {
        ByteBuffer sent;
        if (u.buffer) sent.assign(u.buffer->data, u.buffer->data + u.length);
        writes_.push_back(sent);
        if (sent.size() == 2) {
            const unsigned block = static_cast<unsigned>(sent[0] << 8 | sent[1]);
            auto h = requestHooks_.find(block);
            if (h != requestHooks_.end()) hook = std::move(h->second);
            auto f = requestFaults_.find(block);
            if (f != requestFaults_.end() && f->second == Fault::Unplug) {
                Unplug();
                lock.unlock();
                if (hook) hook();
                Complete(client, -1, ENODEV);
                Release(u);
                return;
            }
        }
        lock.unlock();
        if (hook) hook();  // the request is on its way and not answered yet
        lock.lock();
        AnswerOut(std::move(u));
    } else {
        AnswerIn(std::move(u));
    }
    changed_.notify_all();
    Complete(client, 0, 0);
}

void EmulatedCh375::AnswerOut(Urb u) {
    const ByteBuffer& sent = writes_.back();
    if (haltedOut_) {
        u.status = -EPIPE;
    } else if (sent.size() == 2) {
        const unsigned block = static_cast<unsigned>(sent[0] << 8 | sent[1]);
        auto f = requestFaults_.find(block);
        if (f != requestFaults_.end() && f->second == Fault::Stall) {
            haltedOut_ = true;
            u.status = -EPIPE;
        } else {
            requested_ = block;
        }
    } else {
        requested_ = -1;  // the end request, or anything else: no block
    }
    done_.push_back(std::move(u));
}

void EmulatedCh375::AnswerIn(Urb u) {
    if (haltedIn_) {
        u.status = -EPIPE;
        done_.push_back(std::move(u));
        return;
    }
    if (requested_ < 0) {
        // Nothing asked: the chip has nothing to send and NAKs.
        ++hanging_;
        flying_.push_back(std::move(u));
        return;
    }
    const unsigned block = static_cast<unsigned>(requested_);
    ReadFault fault{Fault::None, 0};
    auto f = readFaults_.find(block);
    if (f != readFaults_.end()) fault = f->second;
    if (fault.fault == Fault::Hang) {
        ++hanging_;
        flying_.push_back(std::move(u));
        return;
    }
    if (fault.fault == Fault::Unplug) {
        flying_.push_back(std::move(u));
        Unplug();
        return;
    }
    requested_ = -1;
    if (fault.fault == Fault::Stall) {
        haltedIn_ = true;
        u.status = -EPIPE;
        done_.push_back(std::move(u));
        return;
    }
    // Blocks beyond the image read as zeros, as unwritten instrument memory does.
    ByteBuffer answer(kUsbBlockSize, 0);
    const std::size_t from = static_cast<std::size_t>(block) * kUsbBlockSize;
    if (from < image_.size()) {
        const std::size_t have = std::min(kUsbBlockSize, image_.size() - from);
        std::copy_n(image_.begin() + static_cast<std::ptrdiff_t>(from), have, answer.begin());
    }
    if (fault.fault == Fault::Short) answer.resize(std::min(fault.shortBytes, answer.size()));
    if (fault.fault == Fault::Babble || answer.size() > static_cast<std::size_t>(u.length)) {
        // The host controller keeps what fits and reports the overflow.
        answer.resize(static_cast<std::size_t>(u.length));
        u.status = -EOVERFLOW;
    }
    u.data = std::move(answer);
    done_.push_back(std::move(u));
}

void EmulatedCh375::Unplug() {
    gone_ = true;
    for (Urb& u : flying_) {
        u.status = -ESHUTDOWN;
        done_.push_back(std::move(u));
    }
    flying_.clear();
    hanging_ = 0;
}

void EmulatedCh375::Reap(UMockdevIoctlClient* client) {
    UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
    std::unique_lock<std::mutex> lock(mutex_);
    if (done_.empty()) {
        Complete(client, -1, gone_ ? ENODEV : EAGAIN);
        return;
    }
    Urb u = std::move(done_.front());
    done_.erase(done_.begin());
    lock.unlock();
    int status = u.status;
    int actual = 0;
    if (u.endpoint == kEndpointOut) {
        actual = status == 0 ? u.length : 0;
    } else {
        actual = static_cast<int>(u.data.size());
        if (actual > 0 && u.buffer) umockdev_ioctl_data_update(u.buffer, 0, u.data.data(), actual);
    }
    umockdev_ioctl_data_update(u.urb, offsetof(usbdevfs_urb, status),
                               reinterpret_cast<guint8*>(&status), sizeof status);
    umockdev_ioctl_data_update(u.urb, offsetof(usbdevfs_urb, actual_length),
                               reinterpret_cast<guint8*>(&actual), sizeof actual);
    UMockdevIoctlData* pointer = umockdev_ioctl_data_resolve(arg, 0, sizeof(void*), nullptr);
    umockdev_ioctl_data_set_ptr(pointer, 0, u.urb);
    umockdev_ioctl_data_unref(pointer);
    Complete(client, 0, 0);
    Release(u);
}

void EmulatedCh375::Discard(UMockdevIoctlClient* client) {
    UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
    const gulong address = *reinterpret_cast<const gulong*>(arg->data);
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = std::find_if(flying_.begin(), flying_.end(),
                           [&](const Urb& u) { return u.urb->client_addr == address; });
    if (it == flying_.end()) {
        Complete(client, -1, EINVAL);
        return;
    }
    it->status = -ENOENT;
    done_.push_back(std::move(*it));
    flying_.erase(it);
    hanging_ = static_cast<int>(flying_.size());
    Complete(client, 0, 0);
}

}  // namespace ohmlet::test
