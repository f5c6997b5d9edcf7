#include "dialogs/FrmColor.h"

#include "dialogs/PaletteView.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSlider>
#include <QVBoxLayout>

namespace vorlu {

namespace {

// 1530 hue units over 306 pixels: five units a column.
constexpr QSize PaletteSize{306, 200};

QFrame* makeSwatch(const QString& name, QWidget* parent)
{
    auto* swatch = new QFrame(parent);
    swatch->setObjectName(name);
    swatch->setFrameShape(QFrame::Box);
    swatch->setFixedSize(56, 40);
    swatch->setAutoFillBackground(true);
    return swatch;
}

void paintSwatch(QFrame* swatch, Rgb c)
{
    QPalette pal = swatch->palette();
    pal.setColor(QPalette::Window, QColor(c.red, c.green, c.blue));
    swatch->setPalette(pal);
}

QLabel* makeLabel(const QString& name, const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

} // namespace

FrmColor::FrmColor(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmColor"));
    setWindowTitle(QStringLiteral("Background Color"));

    auto* heading = makeLabel(QStringLiteral("Label1(4)"), QStringLiteral("Backcolor"), this);
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.3);
    heading->setFont(headingFont);

    colors_ = new PaletteView(PaletteSize, this);
    colors_->setObjectName(QStringLiteral("Colors"));

    slider_ = new QSlider(Qt::Horizontal, this);
    slider_->setObjectName(QStringLiteral("HScroll1"));
    slider_->setRange(0, 255);
    slider_->setValue(InitialGrey);
    sliderValue_ = makeLabel(QStringLiteral("Label3"), QString::number(InitialGrey), this);
    sliderValue_->setMinimumWidth(sliderValue_->fontMetrics().horizontalAdvance(QStringLiteral("0000")));
    sliderValue_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* sliderRow = new QHBoxLayout;
    sliderRow->addWidget(new QLabel(QStringLiteral("Dark"), this));
    sliderRow->addWidget(slider_, 1);
    sliderRow->addWidget(new QLabel(QStringLiteral("Light"), this));
    sliderRow->addWidget(sliderValue_);

    hoverSwatch_ = makeSwatch(QStringLiteral("Picture2"), this);
    clickedSwatch_ = makeSwatch(QStringLiteral("Picture1"), this);
    auto* swatches = new QHBoxLayout;
    swatches->addWidget(hoverSwatch_);
    swatches->addWidget(clickedSwatch_);

    auto* valueGrid = new QGridLayout;
    const QString names[3] = {QStringLiteral("R"), QStringLiteral("G"), QStringLiteral("B")};
    for (int i = 0; i < 3; ++i) {
        valueGrid->addWidget(makeLabel(QStringLiteral("Label1(%1)").arg(i), names[i], this), i, 0);
        values_[i] = makeLabel(QStringLiteral("Label2(%1)").arg(i), QStringLiteral("0"), this);
        values_[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        valueGrid->addWidget(values_[i], i, 1);
    }

    hex_ = new QLineEdit(this);
    hex_->setObjectName(QStringLiteral("thehex"));
    hex_->setMaxLength(6);
    hex_->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9A-Fa-f]{0,6}")), hex_));
    hex_->setFixedWidth(hex_->fontMetrics().horizontalAdvance(QStringLiteral("WWWWWWW")));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("Command1(0)"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("Command1(1)"));

    auto* side = new QVBoxLayout;
    side->addLayout(swatches);
    side->addLayout(valueGrid);
    side->addWidget(hex_);
    side->addStretch(1);
    side->addWidget(ok);
    side->addWidget(cancel);

    auto* left = new QVBoxLayout;
    left->addWidget(colors_);
    left->addLayout(sliderRow);

    auto* body = new QHBoxLayout;
    body->addLayout(left);
    body->addSpacing(8);
    body->addLayout(side);

    auto* root = new QVBoxLayout(this);
    root->addWidget(heading);
    root->addLayout(body);
    root->setSizeConstraint(QLayout::SetFixedSize);

    connect(slider_, &QSlider::valueChanged, this, [this](int value) {
        colors_->redraw(value);
        sliderValue_->setText(QString::number(value));
    });
    connect(colors_, &PaletteView::colourPressed, this, [this](quint32 c) { takeColour(c); });
    connect(colors_, &PaletteView::colourHovered, this, [this](quint32 c) { showHover(c); });
    connect(ok, &QPushButton::clicked, this, &FrmColor::accept);
    connect(cancel, &QPushButton::clicked, this, &FrmColor::reject);

    paintSwatch(hoverSwatch_, {});
    paintSwatch(clickedSwatch_, {});
    colors_->redraw(slider_->value());
}

std::optional<std::int32_t> FrmColor::backgroundColourValue() const
{
    return readHexValue(hex_->text());
}

void FrmColor::takeColour(std::uint32_t pictureColour)
{
    clicked_ = rgbFromPictureColour(pictureColour);
    updateShape();
}

void FrmColor::updateShape()
{
    paintSwatch(clickedSwatch_, clicked_);
    hex_->setText(hexCode(clicked_));
    values_[0]->setText(QString::number(clicked_.red));
    values_[1]->setText(QString::number(clicked_.green));
    values_[2]->setText(QString::number(clicked_.blue));
}

void FrmColor::showHover(std::uint32_t pictureColour)
{
    paintSwatch(hoverSwatch_, rgbFromPictureColour(pictureColour));
}

void FrmColor::accept()
{
    const auto value = backgroundColourValue();
    if (!value) {
        QApplication::beep(); // the box holds at most six digits, so this is only a guard
        return;
    }
    emit backgroundColourAccepted(*value);
    QDialog::accept();
}

BackgroundColourCommand::BackgroundColourCommand(QWidget* owner, std::function<void(std::int32_t)> apply)
    : owner_(owner), apply_(std::move(apply))
{
}

BackgroundColourCommand::~BackgroundColourCommand()
{
    if (!owner_)
        delete dialog_; // a dialog without an owner window belongs to the command
}

void BackgroundColourCommand::run()
{
    if (!dialog_) {
        dialog_ = new FrmColor(owner_);
        QObject::connect(dialog_, &FrmColor::backgroundColourAccepted, dialog_,
                         [apply = apply_](qint32 value) {
                             if (apply)
                                 apply(value);
                         });
    }
    dialog_->show();
    dialog_->raise();
    dialog_->activateWindow();
}

} // namespace vorlu
