#pragma once
// The photo of a slide step, loaded and fitted on a worker thread while the UI thread goes on
// answering the window. The step holds one load at a time; leaving the step without taking
// the photo (a close) stops the worker at its next row, waits for it and drops what it made.
#include <atomic>
#include <exception>
#include <functional>
#include <stop_token>
#include <string>
#include <thread>

#include "gfx/bitmap.h"
#include "gfx/image/image_file.h"

using PhotoLoader =
    std::function<Bitmap(const std::string& path, ImageFormat format, const FitFunction& fit, std::stop_token stop)>;

// The readers' own load of a file.
Bitmap LoadPhotoFile(const std::string& path, ImageFormat format, const FitFunction& fit, std::stop_token stop);

class PhotoLoad {
public:
    // Starts the worker at once; loader and fit run on it.
    PhotoLoad(PhotoLoader loader, std::string path, ImageFormat format, FitFunction fit);
    PhotoLoad(const PhotoLoad&) = delete;
    PhotoLoad& operator=(const PhotoLoad&) = delete;
    ~PhotoLoad() = default; // the worker's thread asks it to stop and waits for it

    bool Finished() const { return m_Finished.load(std::memory_order_acquire); }
    // The fitted photo, once the worker has finished; throws what the load threw.
    Bitmap Take();

private:
    std::atomic<bool> m_Finished{false};
    Bitmap m_Photo;
    std::exception_ptr m_Error;
    // Last, so that it is stopped and joined before what it writes goes.
    std::jthread m_Worker;
};
