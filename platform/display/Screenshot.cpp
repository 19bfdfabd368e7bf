#include "platform/display/Screenshot.h"
#include "platform/display/Display.h"
#include "platform/display/Paint.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/CairoImage.h"
#include "platform/gfx/CairoText.h"
#include <cstdio>

namespace qz {

void RenderFormImage(TCustomForm& form, TBitmap& target) {
    // The fixed text engine draws no glyphs; pictures are taken with the real one.
    TTextEngine* previous = nullptr;
    bool swap = dynamic_cast<TFixedTextEngine*>(&CurrentTextEngine()) != nullptr;
    if (swap) previous = UseCairoText();
    try {
        PaintFormWindow(form, target, true);
    } catch (...) {
        if (swap) SetTextEngine(previous);
        throw;
    }
    if (swap) SetTextEngine(previous);
}

void SaveFormImage(TCustomForm& form, const AnsiString& fileName) {
    TBitmap image;
    RenderFormImage(form, image);
    SaveBitmapToPng(image, fileName);
}

namespace {

// Stands before the form host in force until the first modal form is shown.
class TScreenshotHost : public TFormHost {
public:
    TFormHost* Inner = nullptr;
    AnsiString File;

    void FormShown(TCustomForm* form) override { Inner->FormShown(form); }
    void FormHidden(TCustomForm* form) override { Inner->FormHidden(form); }
    void FormDestroyed(TCustomForm* form) override { Inner->FormDestroyed(form); }
    void Invalidate(TControl* control) override { Inner->Invalidate(control); }
    void ModalEnded(TCustomForm* form) override { Inner->ModalEnded(form); }
    bool ModalStep(TCustomForm* form, int step) override {
        TFormHost* inner = Inner;
        if (step == 0 && !File.empty()) {
            AnsiString file = File;
            Withdraw();
            try {
                SaveFormImage(*form, file);
                std::fprintf(stderr, "qz: screenshot of %s written to %s\n", form->Name().c_str(),
                             file.c_str());
            } catch (const std::exception& e) {
                std::fprintf(stderr, "qz: screenshot of %s failed: %s\n", form->Name().c_str(), e.what());
            }
        }
        return inner->ModalStep(form, step);
    }
    void Withdraw() {
        File.clear();
        if (FormHost() == this) SetFormHost(Inner);
    }
};

TScreenshotHost& ScreenshotHost() {
    static TScreenshotHost host;
    return host;
}

} // namespace

void RequestScreenshotOnShow(const AnsiString& fileName) {
    TScreenshotHost& host = ScreenshotHost();
    if (fileName.empty()) {
        if (!host.File.empty()) host.Withdraw();
        return;
    }
    InstallDisplay();
    if (FormHost() != &host) {
        host.Inner = FormHost();
        SetFormHost(&host);
    }
    host.File = fileName;
}

AnsiString PendingScreenshot() {
    return ScreenshotHost().File;
}

} // namespace qz
