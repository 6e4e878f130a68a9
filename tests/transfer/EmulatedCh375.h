#pragma once
// The instrument's CH375 below libusb: a umockdev testbed with one USB device (vendor
// 0x4348, product 0x5537, bulk endpoints 0x02 and 0x82, 64-byte packets) whose usbdevfs
// ioctls are answered here from a USB device image, block by block, as the chip does.
// The process must run with libumockdev-preload loaded (umockdev-wrapper or LD_PRELOAD);
// children started with the same environment reach the same device.
//
// What it cannot show: the chip's and the bus's real timing (answers come at once or
// never), a real unplug (the device stops answering with ENODEV/ESHUTDOWN, but no
// udev remove event is sent and sysfs keeps it), kernel drivers bound to the chip,
// and any other platform's USB stack (Windows goes through the vendor's driver).
#include <sys/types.h>

#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "transfer/ReplyDecoder.h"

typedef struct _UMockdevTestbed UMockdevTestbed;
typedef struct _UMockdevIoctlBase UMockdevIoctlBase;
typedef struct _UMockdevIoctlClient UMockdevIoctlClient;
typedef struct _UMockdevIoctlData UMockdevIoctlData;

namespace ohmlet::test {

class EmulatedCh375 {
public:
    // What the chip does with the read that answers a block, or with a block request.
    enum class Fault {
        None,
        Short,   // the answer has fewer bytes than the block (shortBytes)
        Babble,  // the device sends more than was asked: the read ends in overflow
        Stall,   // the endpoint halts until the host clears it
        Hang,    // no answer ever comes; the read waits until it is given up
        Unplug,  // the device is gone from here on
    };

    // plugged = false: the bus is empty.
    explicit EmulatedCh375(ByteBuffer image, bool plugged = true);
    ~EmulatedCh375();
    EmulatedCh375(const EmulatedCh375&) = delete;
    EmulatedCh375& operator=(const EmulatedCh375&) = delete;

    // False when the preload library is missing: nothing here can work then.
    static bool InMockEnvironment();

    void FailRead(unsigned block, Fault fault, std::size_t shortBytes = 0);
    void FailRequest(unsigned block, Fault fault);
    // Claiming the interface fails as when another program holds it.
    void SetBusy(bool busy);
    // Lets other users see the testbed (sysfs and nodes), as they see the real ones.
    void ShareWithOtherUsers();
    // Mode of the device node, as udev would leave it without our rule.
    void SetNodeMode(mode_t mode);
    // Runs on the emulation's thread when the request for block arrives, before it
    // is answered.
    void OnRequest(unsigned block, std::function<void()> hook);

    std::vector<ByteBuffer> Writes() const;
    std::vector<int> RequestedBlocks() const;  // the 2-byte requests, in order
    bool EndedWithEndRequest() const;
    int Claims() const;
    int Releases() const;
    int HaltClears() const;  // halts cleared by the host
    int Opens() const;       // device node opened
    // Handles on the device node this process holds now.
    int OpenHandles() const;
    // Waits until a read is hanging on the device.
    bool WaitForHangingRead(int timeoutMs) const;
    std::string DevNode() const { return kDevNode; }
    std::string UnknownRequests() const;

    static constexpr char kDevNode[] = "/dev/bus/usb/001/001";

private:
    struct Urb {
        UMockdevIoctlData* urb = nullptr;
        UMockdevIoctlData* buffer = nullptr;
        unsigned char endpoint = 0;
        int length = 0;
        int status = 0;
        ByteBuffer data;  // what the device sends back, for an IN urb
    };

    static int OnIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client, void* self);
    static void OnClientConnected(UMockdevIoctlBase*, UMockdevIoctlClient* client, void* self);
    bool HandleIoctl(UMockdevIoctlClient* client);
    void Submit(UMockdevIoctlClient* client);
    void Reap(UMockdevIoctlClient* client);
    void Discard(UMockdevIoctlClient* client);
    void AnswerOut(Urb urb);
    void AnswerIn(Urb urb);
    void Unplug();  // lock held
    static void Release(Urb& urb);

    ByteBuffer image_;
    UMockdevTestbed* testbed_ = nullptr;
    UMockdevIoctlBase* handler_ = nullptr;
    std::string rootDir_;
    std::string nodePath_;

    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    struct ReadFault {
        Fault fault;
        std::size_t shortBytes;
    };
    std::map<unsigned, ReadFault> readFaults_;
    std::map<unsigned, Fault> requestFaults_;
    std::map<unsigned, std::function<void()>> requestHooks_;
    bool busy_ = false;
    bool gone_ = false;
    bool haltedIn_ = false, haltedOut_ = false;
    long requested_ = -1;
    std::vector<ByteBuffer> writes_;
    std::vector<Urb> flying_;  // submitted, not answered
    std::vector<Urb> done_;    // answered, waiting to be reaped
    int hanging_ = 0;
    int claims_ = 0, releases_ = 0, clears_ = 0, opens_ = 0;
    std::string unknown_;
};

}  // namespace ohmlet::test
