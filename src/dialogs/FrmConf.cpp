#include "dialogs/FrmConf.h"

#include "dialogs/DialogLook.h"
#include "dialogs/RemotePage.h"
#include "nodes/AdminRules.h"

#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace vorlu {

namespace {

constexpr const char* HeadingTexts[FrmConf::PageCount] = {"  IP Name", "  Passwords", "  Clear", "  Network",
                                                          "  Location", "  Remote"};
const QColor ShownHeading(64, 64, 64);
const QColor HeadingBand(214, 210, 226);

QString indexed(const char* name, int i) { return QStringLiteral("%1(%2)").arg(name).arg(i); }

// A page: its controls at the top, space below.
QWidget* makePage(QStackedWidget* pages, QLayout* content)
{
    auto* page = new QWidget(pages);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(12, 8, 12, 8);
    layout->addLayout(content);
    layout->addStretch();
    pages->addWidget(page);
    return page;
}

} // namespace

FrmConf::FrmConf(Settings& settings, QWidget* parent) : QDialog(parent), settings_(settings)
{
    setObjectName(QStringLiteral("FrmConf"));
    setWindowTitle(QStringLiteral("Settings"));
    setModal(false);
    applyDialogLook(this);

    // The headings sit on a band of their own, the pages in a frame beside it.
    auto* band = new QFrame(this);
    band->setObjectName(QStringLiteral("Picture1"));
    band->setAutoFillBackground(true);
    QPalette bandPalette = band->palette();
    bandPalette.setColor(QPalette::Window, HeadingBand);
    band->setPalette(bandPalette);
    auto* headingColumn = new QVBoxLayout(band);
    headingColumn->setContentsMargins(0, 6, 0, 6);
    headingColumn->setSpacing(2);
    for (int i = 0; i < PageCount; ++i) {
        auto* h = new QLabel(QString::fromLatin1(HeadingTexts[i]), band);
        h->setObjectName(indexed("Label1", i));
        h->setMinimumWidth(h->fontMetrics().horizontalAdvance(QStringLiteral("  Passwords")) + 28);
        h->setMinimumHeight(h->fontMetrics().height() + 8);
        h->setCursor(Qt::PointingHandCursor);
        h->installEventFilter(this);
        headingColumn->addWidget(h);
        headings_[static_cast<std::size_t>(i)] = h;
    }
    headingColumn->addStretch();

    pages_ = new QStackedWidget(this);
    pages_->setObjectName(QStringLiteral("Frame1"));
    pages_->setFrameShape(QFrame::StyledPanel);

    auto* ipName = new QVBoxLayout;
    static const char* boxTexts[3] = {"IP", "Name", "IP/Name"};
    for (int i = 0; i < 3; ++i) {
        auto* box = new QCheckBox(QString::fromLatin1(boxTexts[i]), this);
        box->setObjectName(indexed("Check1", i));
        // The rule runs on the press, with the box as it was, and on the click.
        connect(box, &QCheckBox::pressed, this, [this, i] { labelBoxEvent(i); });
        connect(box, &QCheckBox::clicked, this, [this, i] { labelBoxEvent(i); });
        ipName->addWidget(box);
        labelBoxes_[static_cast<std::size_t>(i)] = box;
    }
    makePage(pages_, ipName);

    auto* passwords = new QVBoxLayout;
    showPasswords_ = new QCheckBox(QStringLiteral("Show Passwords"), this);
    showPasswords_->setObjectName(QStringLiteral("Check2"));
    showPasswords_->setChecked(true);
    connect(showPasswords_, &QCheckBox::toggled, this, [this](bool on) { settings_.ShowPasswords = on; });
    passwords->addWidget(showPasswords_);
    keyring_ = new QCheckBox(QStringLiteral("Keep passwords in the system keyring"), this);
    keyring_->setObjectName(QStringLiteral("chkKeyring"));
    keyring_->setToolTip(QStringLiteral("Node and administrator passwords go to the desktop's keyring "
                                        "instead of lg.ini and vrsopt.ini"));
    // clicked, not toggled: showing the setting again must not move the passwords back.
    connect(keyring_, &QCheckBox::clicked, this, &FrmConf::keyringRequested);
    passwords->addWidget(keyring_);
    makePage(pages_, passwords);

    auto* clear = new QHBoxLayout;
    auto* clearCaption = new QLabel(QStringLiteral("Clear Data cache"), this);
    clearCaption->setObjectName(QStringLiteral("Label2"));
    clear_ = dialogButton("Command1", "Clear", this);
    connect(clear_, &QPushButton::clicked, this, &FrmConf::clearRequested);
    clear->addWidget(clearCaption);
    clear->addStretch();
    clear->addWidget(clear_);
    makePage(pages_, clear);

    auto* network = new QHBoxLayout;
    reset_ = dialogButton("Command2", "Reset", this);
    connect(reset_, &QPushButton::clicked, this, &FrmConf::resetRequested);
    network->addWidget(reset_);
    network->addStretch();
    makePage(pages_, network);

    auto* location = new QVBoxLayout;
    auto* locationCaption = new QLabel(QStringLiteral("  Set WMI Location"), this);
    locationCaption->setObjectName(QStringLiteral("Label3"));
    namespace_ = new QLineEdit(QString::fromStdString(settings_.WmiNamespace), this);
    namespace_->setObjectName(QStringLiteral("Text1"));
    set_ = dialogButton("Command3", "Set", this);
    cancel_ = dialogButton("Command4", "Cancel", this);
    connect(set_, &QPushButton::clicked, this, [this] { settings_.WmiNamespace = namespace_->text().toStdString(); });
    // The box keeps what was typed; only the namespace in use goes back.
    connect(cancel_, &QPushButton::clicked, this, [this] { settings_.WmiNamespace = DefaultNamespace; });
    location->addWidget(locationCaption);
    location->addWidget(namespace_);
    location->addLayout(buttonRow({set_, cancel_}));
    makePage(pages_, location);

    remote_ = new RemotePage(settings_.transport, pages_);
    connect(remote_, &RemotePage::changed, this, &FrmConf::transportChanged);
    pages_->addWidget(remote_);

    ok_ = dialogButton("Command5", "OK", this);
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::hide);

    auto* body = new QHBoxLayout;
    body->setSpacing(0);
    body->addWidget(band);
    body->addWidget(pages_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addLayout(buttonRow({ok_}));
    setMinimumWidth(namespace_->fontMetrics().horizontalAdvance(QStringLiteral("M")) * 34);

    showPage(0);
}

void FrmConf::fill(const Settings& s)
{
    // The reader ticks boxes but never clears one.
    const bool ticked[3] = {s.labelBoxIp, s.labelBoxName, s.labelBoxIpName};
    for (std::size_t i = 0; i < labelBoxes_.size(); ++i)
        if (ticked[i])
            labelBoxes_[i]->setChecked(true);
    showPasswords_->setChecked(s.ShowPasswords);
    keyring_->setChecked(s.KeepPasswordsInKeyring);
    namespace_->setText(QString::fromStdString(s.WmiNamespace));
    remote_->fill(s.transport);
}

void FrmConf::showPage(int page)
{
    if (page < 0 || page >= PageCount)
        return;
    for (int i = 0; i < PageCount; ++i) {
        QLabel* h = headings_[static_cast<std::size_t>(i)];
        const bool shown = i == page;
        h->setAutoFillBackground(shown);
        QPalette pal = h->palette();
        pal.setColor(QPalette::Window, ShownHeading);
        pal.setColor(QPalette::WindowText, shown ? QColor(Qt::white) : QColor(Qt::black));
        h->setPalette(pal);
    }
    pages_->setCurrentIndex(page);
}

int FrmConf::currentPage() const { return pages_->currentIndex(); }

bool FrmConf::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        for (int i = 0; i < PageCount; ++i)
            if (watched == headings_[static_cast<std::size_t>(i)]) {
                showPage(i);
                return true;
            }
    }
    return QDialog::eventFilter(watched, event);
}

void FrmConf::labelBoxEvent(int box)
{
    std::array<bool, 3> ticked{};
    for (std::size_t i = 0; i < ticked.size(); ++i)
        ticked[i] = labelBoxes_[i]->isChecked();
    applyLabelBoxRule(static_cast<std::size_t>(box), ticked, settings_.NodeLabelMode);
    for (std::size_t i = 0; i < ticked.size(); ++i) {
        const QSignalBlocker quiet(labelBoxes_[i]);
        labelBoxes_[i]->setChecked(ticked[i]);
    }
    settings_.labelBoxIp = ticked[0];
    settings_.labelBoxName = ticked[1];
    settings_.labelBoxIpName = ticked[2];
}

} // namespace vorlu
