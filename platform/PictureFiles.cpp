#include "platform/PictureFiles.h"

#include "platform/ControlHost.h"
#include "platform/PngBytes.h"
#include "platform/ProgramIcon.h"
#include "platform/QtDrawContext.h"

#include <QPixmap>
#include <QWidget>

std::string WindowPng(const TForm& form) {
    return form.Window() == nullptr ? std::string() : PngBytes(form.Window()->grab().toImage());
}

std::string ControlPng(ControlHostHandle* host) {
    auto* control = dynamic_cast<ControlHost*>(host);
    if (control == nullptr)
        return {};
    control->RepaintNow();
    return PngBytes(control->Image());
}

std::string DrawnPng(int width, int height, const std::function<void(DrawContext&)>& draw) {
    QtDrawContext image(width, height);
    image.Image().fill(Qt::white);
    draw(image);
    return image.PngBytes();
}

std::string ProgramIconPng(int size) {
    return PngBytes(ProgramIconImage(size));
}
