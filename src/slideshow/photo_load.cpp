#include "slideshow/photo_load.h"

#include <utility>

Bitmap LoadPhotoFile(const std::string& path, ImageFormat format, const FitFunction& fit, std::stop_token stop)
{
    return LoadFittedImage(path, format, fit, std::move(stop));
}

PhotoLoad::PhotoLoad(PhotoLoader loader, std::string path, ImageFormat format, FitFunction fit)
    : m_Worker([this, loader = std::move(loader), path = std::move(path), format,
                fit = std::move(fit)](std::stop_token stop) {
          try {
              m_Photo = loader(path, format, fit, std::move(stop));
          } catch (...) {
              m_Error = std::current_exception();
          }
          m_Finished.store(true, std::memory_order_release);
      })
{
}

Bitmap PhotoLoad::Take()
{
    m_Worker.join();
    if (m_Error) std::rethrow_exception(m_Error);
    return std::move(m_Photo);
}
