#pragma once
// The CH375 on Windows through its maker's driver library, CH375DLL.DLL, loaded when a
// device is first opened: a PC without the instrument's driver still runs Ohmlet and
// learns at the USB open what to install.
#include <atomic>
#include <memory>
#include <mutex>
#include <string>

#include "transfer/Ch375.h"

namespace ohmlet {

class Ch375DllWindows : public Ch375 {
public:
    // library: a bare name is looked for beside the program first, then in the
    // system's folders and on PATH (LoadLibraryW's order); a path is taken as given.
    explicit Ch375DllWindows(std::wstring library = L"CH375DLL.DLL");
    ~Ch375DllWindows() override;

    LinkResult OpenDevice(unsigned index) override;
    std::string DeviceName(unsigned index) override;
    LinkResult WriteData(unsigned index, const unsigned char* data, std::size_t& count) override;
    LinkResult ReadData(unsigned index, unsigned char* data, std::size_t& count) override;
    void AbortWrite(unsigned index) override;
    void AbortRead(unsigned index) override;
    void CloseDevice(unsigned index) override;

    // How long one read or write may take, where the library lets us say so.
    static constexpr unsigned kTransferTimeoutMs = 5000;

private:
    struct Library;
    LinkResult Load();
    // The library's calls once every one of them resolved, else null.
    const Library* Loaded() const;

    const std::wstring path_;
    std::mutex loadMutex_;
    std::unique_ptr<Library> library_;
    std::atomic<const Library*> loaded_{nullptr};
    std::atomic<bool> open_{false};
    unsigned openIndex_ = 0;
};

}  // namespace ohmlet
