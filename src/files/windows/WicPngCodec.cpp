// PNG files through Windows Imaging Component, the codec that comes with Windows.

// windows.h comes before every other header of Windows, which rely on its names.
#include <windows.h>

#include <wincodec.h>

#include <cstring>
#include <string>
#include <vector>

#include "files/PngCodec.h"

namespace {

/// Releases a COM object on every way out.
template <typename T>
class Com {
public:
    Com() = default;
    Com(const Com&) = delete;
    Com& operator=(const Com&) = delete;
    ~Com() {
        if (object_ != nullptr) {
            object_->Release();
        }
    }
    T** Put() { return &object_; }
    T* operator->() const { return object_; }
    T* Get() const { return object_; }

private:
    T* object_ = nullptr;
};

/// COM for the length of one call on this thread, unless the thread already had it.
class ComOnThisThread {
public:
    ComOnThisThread() : result_(::CoInitializeEx(nullptr, COINIT_MULTITHREADED)) {}
    ComOnThisThread(const ComOnThisThread&) = delete;
    ComOnThisThread& operator=(const ComOnThisThread&) = delete;
    ~ComOnThisThread() {
        if (SUCCEEDED(result_)) {
            ::CoUninitialize();
        }
    }

private:
    HRESULT result_;
};

bool Failed(HRESULT result, const char* step, std::string& error) {
    if (SUCCEEDED(result)) {
        return false;
    }
    char code[16];
    std::snprintf(code, sizeof code, "%08lx", static_cast<unsigned long>(result));
    error = std::string("Windows Imaging Component could not ") + step + " (0x" + code + ")";
    return true;
}

bool MakeFactory(Com<IWICImagingFactory>& factory, std::string& error) {
    return !Failed(
        ::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                           IID_IWICImagingFactory, reinterpret_cast<void**>(factory.Put())),
        "start", error);
}

}  // namespace

bool EncodePngPixels(const std::uint32_t* pixels, std::int32_t width, std::int32_t height,
                     std::size_t stride, std::string& bytes, std::string& error) {
    bytes.clear();
    const ComOnThisThread com;
    Com<IWICImagingFactory> factory;
    Com<IStream> stream;
    Com<IWICBitmapEncoder> encoder;
    Com<IWICBitmapFrameEncode> frame;
    Com<IPropertyBag2> options;
    if (!MakeFactory(factory, error) ||
        Failed(::CreateStreamOnHGlobal(nullptr, TRUE, stream.Put()), "make a stream", error) ||
        Failed(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.Put()),
               "make a PNG encoder", error) ||
        Failed(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache), "start the encoder",
               error) ||
        Failed(encoder->CreateNewFrame(frame.Put(), options.Put()), "make a frame", error) ||
        Failed(frame->Initialize(options.Get()), "start the frame", error) ||
        Failed(frame->SetSize(static_cast<UINT>(width), static_cast<UINT>(height)),
               "size the frame", error)) {
        return false;
    }
    // 8-bit RGB as libpng writes it: WIC takes the bytes in blue, green, red order.
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (Failed(frame->SetPixelFormat(&format), "set the pixel format", error)) {
        return false;
    }
    if (!IsEqualGUID(format, GUID_WICPixelFormat24bppBGR)) {
        error = "Windows Imaging Component cannot write 8-bit RGB";
        return false;
    }
    std::vector<BYTE> row(static_cast<std::size_t>(width) * 3);
    for (std::size_t y = 0; y < static_cast<std::size_t>(height); ++y) {
        const std::uint32_t* line = pixels + y * stride;
        for (std::size_t x = 0; x < static_cast<std::size_t>(width); ++x) {
            row[3 * x] = static_cast<BYTE>(line[x]);
            row[3 * x + 1] = static_cast<BYTE>(line[x] >> 8);
            row[3 * x + 2] = static_cast<BYTE>(line[x] >> 16);
        }
        if (Failed(frame->WritePixels(1, static_cast<UINT>(row.size()),
                                      static_cast<UINT>(row.size()), row.data()),
                   "write a row", error)) {
            return false;
        }
    }
    HGLOBAL memory = nullptr;
    if (Failed(frame->Commit(), "finish the frame", error) ||
        Failed(encoder->Commit(), "finish the file", error) ||
        Failed(::GetHGlobalFromStream(stream.Get(), &memory), "reach the bytes", error)) {
        return false;
    }
    STATSTG facts{};
    if (Failed(stream->Stat(&facts, STATFLAG_NONAME), "measure the bytes", error)) {
        return false;
    }
    const void* start = ::GlobalLock(memory);
    if (start == nullptr) {
        error = "Windows Imaging Component's bytes cannot be read";
        return false;
    }
    bytes.assign(static_cast<const char*>(start), static_cast<std::size_t>(facts.cbSize.QuadPart));
    ::GlobalUnlock(memory);
    return true;
}

bool DecodePngPixels(const std::string& bytes, PixelImage& image, std::string& error) {
    image = PixelImage{};
    const ComOnThisThread com;
    Com<IWICImagingFactory> factory;
    Com<IWICStream> stream;
    Com<IWICBitmapDecoder> decoder;
    Com<IWICBitmapFrameDecode> frame;
    Com<IWICBitmapSource> converted;
    std::string copy = bytes;  // WIC reads from memory it may not change; ours is const
    if (!MakeFactory(factory, error) ||
        Failed(factory->CreateStream(stream.Put()), "make a stream", error) ||
        Failed(stream->InitializeFromMemory(reinterpret_cast<BYTE*>(copy.data()),
                                            static_cast<DWORD>(copy.size())),
               "read the bytes", error) ||
        Failed(factory->CreateDecoderFromStream(stream.Get(), &GUID_VendorMicrosoft,
                                                WICDecodeMetadataCacheOnDemand, decoder.Put()),
               "read a PNG file", error)) {
        return false;
    }
    GUID container{};
    if (Failed(decoder->GetContainerFormat(&container), "read the format", error)) {
        return false;
    }
    if (!IsEqualGUID(container, GUID_ContainerFormatPng)) {
        error = "not a PNG file";
        return false;
    }
    UINT width = 0;
    UINT height = 0;
    // Every form of pixel is brought to 8-bit RGB in a 32-bit word, alpha dropped.
    if (Failed(decoder->GetFrame(0, frame.Put()), "read the picture", error) ||
        Failed(::WICConvertBitmapSource(GUID_WICPixelFormat32bppBGR, frame.Get(), converted.Put()),
               "convert the pixels", error) ||
        Failed(converted->GetSize(&width, &height), "read the size", error)) {
        return false;
    }
    if (width == 0 || height == 0 || width > (1u << 27) || height > (1u << 27) / width) {
        error = "unsupported image size or format";
        return false;
    }
    image.pixels.resize(std::size_t{width} * height);
    if (Failed(converted->CopyPixels(nullptr, width * 4, static_cast<UINT>(image.pixels.size() * 4),
                                     reinterpret_cast<BYTE*>(image.pixels.data())),
               "read the pixels", error)) {
        image = PixelImage{};
        return false;
    }
    for (std::uint32_t& pixel : image.pixels) {
        pixel |= 0xFF000000u;
    }
    image.width = static_cast<std::int32_t>(width);
    image.height = static_cast<std::int32_t>(height);
    return true;
}
