#include "app/DetailPanel.h"

#include "app/Pictures.h"
#include "app/TextStyle.h"

#include <QLabel>

namespace vorlu {

namespace {

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text = {})
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

void setColours(QWidget* w, const QColor& text, const QColor& background)
{
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Window, background);
    w->setPalette(p);
}

} // namespace

DetailPanel::DetailPanel(QWidget* parent, QLabel* driveId) : picture3_(new QWidget(parent)), driveId_(driveId)
{
    picture3_->setObjectName("Picture3");
    picture3_->setAutoFillBackground(true);
    setColours(picture3_, Qt::black, Qt::white);

    // White on white until a drive's state colours it.
    heading_ = makeLabel(picture3_, "Label5");
    heading_->setFont(calibri(14, true));
    heading_->setAutoFillBackground(true);
    setColours(heading_, Qt::white, Qt::white);
    heading_->setIndent(8);

    for (int i = 0; i <= 3; ++i) {
        dials_[static_cast<std::size_t>(i)] = makeLabel(picture3_, QString("pic_dial(%1)").arg(i));
        dials_[static_cast<std::size_t>(i)]->setAlignment(Qt::AlignCenter);
        dials_[static_cast<std::size_t>(i)]->setVisible(i == 0);
    }
    word_ = makeLabel(picture3_, "Label18");
    word_->setAlignment(Qt::AlignCenter);
    word_->setFont(calibri(12, true));

    auto* p7 = makeLabel(picture3_, "Picture7");
    p7->setFrameShape(QFrame::StyledPanel);
    picture7_ = p7;
    struct Pair {
        const char* caption;
        const char* captionText;
        const char* value;
        DetailValue which;
    };
    for (const Pair& p : {Pair{"Label17", "Last Message:", "lblstatusmsg", DetailValue::Status},
                          Pair{"Label14", "Status Info:", "Label15", DetailValue::StatusInfo},
                          Pair{"Label20", "Availability:", "Label16", DetailValue::Availability},
                          Pair{"Label10", "Error Description:", "Label11", DetailValue::ErrorDescription},
                          Pair{"Label12", "Last Error Code:", "Label13", DetailValue::LastErrorCode},
                          Pair{"Label7", "Error Cleared:", "Label9", DetailValue::ErrorCleared},
                          Pair{"Label8", "ConfigManagerErrorCode", "lblavailmsg", DetailValue::ConfigManagerError}}) {
        QLabel* c = makeLabel(p7, p.caption, p.captionText);
        c->setFont(calibri(10, true));
        setColours(c, QColor(70, 60, 100), Qt::white);
        QLabel* v = makeLabel(p7, p.value);
        v->setFont(calibri(10));
        v->setWordWrap(true);
        v->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        // The seventh pair is filled but never shown.
        const bool visible = p.which != DetailValue::ConfigManagerError;
        c->setVisible(visible);
        v->setVisible(visible);
        values_[static_cast<std::size_t>(p.which)] = v;
    }
}

void DetailPanel::refreshDials(double devicePixelRatio)
{
    const QSize size = dials_[0]->size();
    for (int i = 1; i <= 3; ++i)
        dials_[static_cast<std::size_t>(i)]->setPixmap(
            pictures::statePicture(static_cast<pictures::StateDial>(i), size, devicePixelRatio));
    devicePixelRatio_ = devicePixelRatio;
    showDial(shownDial_);
}

void DetailPanel::showDial(int dial)
{
    shownDial_ = dial;
    if (dial >= 1 && dial <= 3)
        dials_[0]->setPixmap(dials_[static_cast<std::size_t>(dial)]->pixmap());
    else if (dial == static_cast<int>(pictures::StateDial::Unknown))
        dials_[0]->setPixmap(pictures::statePicture(pictures::StateDial::Unknown, dials_[0]->size(), devicePixelRatio_));
}

void DetailPanel::useLargeFonts()
{
    for (QLabel* l : picture7_->findChildren<QLabel*>())
        l->setFont(calibri(l->font().bold() ? 8 : 9, l->font().bold()));
    heading_->setFont(calibri(12, true));
}

void DetailPanel::setValue(DetailValue which, const std::string& text)
{
    valueLabel(which)->setText(QString::fromStdString(text));
}

void DetailPanel::setHeading(const std::string& text) { heading_->setText(QString::fromStdString(text)); }

void DetailPanel::clearDriveId()
{
    if (driveId_)
        driveId_->setText({});
}

void DetailPanel::clearDrive()
{
    heading_->clear();
    setColours(heading_, Qt::white, Qt::white);
    for (QLabel* value : values_)
        value->clear();
    shownDial_ = 0;
    dials_[0]->clear();
    word_->clear();
}

void DetailPanel::showState(const StatePresentation& state)
{
    setColours(heading_, Qt::white, QColor::fromRgb(state.headingRgb));
    showDial(state.dial);
    word_->setText(QString::fromLatin1(state.word));
}

} // namespace vorlu
