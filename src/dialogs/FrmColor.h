#pragma once
#include "dialogs/Palette.h"
#include <QDialog>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <optional>

class QFrame;
class QLabel;
class QLineEdit;
class QSlider;

namespace vorlu {

class PaletteView;

// "Background Color": pick the colour behind the model from a drawn palette.
// The dialog keeps its palette, slider and texts between showings; OK and
// Cancel only hide it.
class FrmColor : public QDialog {
    Q_OBJECT
public:
    static constexpr int InitialGrey = 85;

    explicit FrmColor(QWidget* parent = nullptr);

    // What OK would hand over now: the text of thehex read as hexadecimal
    // (0x00RRGGBB for a six-digit code); nullopt when the text cannot be read.
    std::optional<std::int32_t> backgroundColourValue() const;
    PaletteView* palette() const { return colors_; }

    // The same as a left click on a palette pixel of this colour (0x00BBGGRR).
    void takeColour(std::uint32_t pictureColour);

signals:
    // OK: the main window stores the value as its background colour and
    // redraws the scene.
    void backgroundColourAccepted(qint32 value);

public slots:
    void accept() override;

private:
    void updateShape();
    void showHover(std::uint32_t pictureColour);

    PaletteView* colors_ = nullptr;
    QSlider* slider_ = nullptr;
    QLabel* sliderValue_ = nullptr;
    QFrame* hoverSwatch_ = nullptr;
    QFrame* clickedSwatch_ = nullptr;
    QLabel* values_[3] = {};
    QLineEdit* hex_ = nullptr;
    Rgb clicked_;
};

// The "Backcolor" command: makes the dialog under the owner window on first
// use and shows it without blocking. On OK, apply receives the new background
// colour (0x00RRGGBB); on Cancel nothing is called.
class BackgroundColourCommand {
public:
    BackgroundColourCommand(QWidget* owner, std::function<void(std::int32_t)> apply);
    ~BackgroundColourCommand();
    BackgroundColourCommand(const BackgroundColourCommand&) = delete;
    BackgroundColourCommand& operator=(const BackgroundColourCommand&) = delete;
    void run();
    FrmColor* dialog() const { return dialog_; } // null before the first run

private:
    QWidget* owner_;
    std::function<void(std::int32_t)> apply_;
    QPointer<FrmColor> dialog_;
};

} // namespace vorlu
