#include "dialogs/RemotePage.h"

#include "nodes/TransportSettings.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

namespace vorlu {

namespace {

QString askForCaFile(QWidget* parent, const QString& current)
{
    const QString start = current.isEmpty() ? QString() : QFileInfo(current).absolutePath();
    return QFileDialog::getOpenFileName(parent, QStringLiteral("CA Certificates"), start,
                                        QStringLiteral("Certificates (*.pem *.crt *.cer);;All files (*)"));
}

QSpinBox* numberBox(const char* name, int min, int max, int step, const char* suffix, QWidget* parent)
{
    auto* box = new QSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(min, max);
    box->setSingleStep(step);
    box->setSuffix(QString::fromLatin1(suffix));
    // A number being typed is no setting yet: it applies on Enter, on leaving the box or by the arrows.
    box->setKeyboardTracking(false);
    return box;
}

QCheckBox* checkBox(const char* name, const char* text, QWidget* parent)
{
    auto* box = new QCheckBox(QString::fromLatin1(text), parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

} // namespace

RemotePage::RemotePage(RemoteTransport& transport, QWidget* parent)
    : QWidget(parent), transport_(transport), chooseFile_(askForCaFile)
{
    auto* caption = new QLabel(QStringLiteral("  Remote Management"), this);
    caption->setObjectName(QStringLiteral("RemoteCaption"));

    http_ = new QRadioButton(QStringLiteral("HTTP"), this);
    http_->setObjectName(QStringLiteral("RemoteHttp"));
    https_ = new QRadioButton(QStringLiteral("HTTPS"), this);
    https_->setObjectName(QStringLiteral("RemoteHttps"));
    auto* schemes = new QHBoxLayout;
    schemes->addWidget(http_);
    schemes->addWidget(https_);
    schemes->addStretch();

    port_ = numberBox("RemotePort", MinPort, MaxPort, 1, "", this);
    port_->setGroupSeparatorShown(false);
    verify_ = checkBox("RemoteVerify", "Check the node's certificate", this);
    caFile_ = new QLineEdit(this);
    caFile_->setObjectName(QStringLiteral("RemoteCaFile"));
    caFile_->setPlaceholderText(QStringLiteral("the system's own"));
    browse_ = new QToolButton(this);
    browse_->setText(QStringLiteral("..."));
    browse_->setObjectName(QStringLiteral("RemoteCaBrowse"));
    browse_->setToolTip(QStringLiteral("Choose a file of certificate authorities (PEM)"));
    auto* caRow = new QHBoxLayout;
    caRow->addWidget(caFile_, 1);
    caRow->addWidget(browse_);

    basic_ = checkBox("RemoteBasic", "Allow credentials in clear text over HTTP (Basic)", this);
    warning_ = new QLabel(QStringLiteral("Basic over HTTP sends the password unencrypted: anyone on the network "
                                         "between here and the node can read it."),
                          this);
    warning_->setObjectName(QStringLiteral("RemoteBasicWarning"));
    warning_->setWordWrap(true);

    connectLimit_ = numberBox("RemoteConnectLimit", MinConnectTimeoutMs, MaxConnectTimeoutMs, 500, " ms", this);
    queryLimit_ = numberBox("RemoteQueryLimit", MinQueryTimeoutMs, MaxQueryTimeoutMs, 1000, " ms", this);
    nodesAtOnce_ = numberBox("RemoteNodesAtOnce", MinNodesAtOnce, MaxNodesAtOnce, 8, "", this);
    nodesAtOnce_->setToolTip(QStringLiteral("How many nodes Diagnose All reaches at the same time"));

    domain_ = new QLineEdit(this);
    domain_->setObjectName(QStringLiteral("RemoteDomain"));
    domain_->setPlaceholderText(QStringLiteral("this computer's own"));
    domain_->setToolTip(QStringLiteral("The Active Directory domain (DNS name) whose computers the Network Scan lists"));
    controller_ = new QLineEdit(this);
    controller_->setObjectName(QStringLiteral("RemoteDomainController"));
    controller_->setPlaceholderText(QStringLiteral("found by DNS"));

    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    form->addRow(QStringLiteral("Protocol:"), schemes);
    form->addRow(QStringLiteral("Port:"), port_);
    form->addRow(verify_);
    form->addRow(QStringLiteral("CA file:"), caRow);
    form->addRow(basic_);
    form->addRow(warning_);
    form->addRow(QStringLiteral("Connection time limit:"), connectLimit_);
    form->addRow(QStringLiteral("Query time limit:"), queryLimit_);
    form->addRow(QStringLiteral("Domain:"), domain_);
    form->addRow(QStringLiteral("Domain controller:"), controller_);
    form->addRow(QStringLiteral("Nodes at once:"), nodesAtOnce_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 8, 12, 8);
    layout->addWidget(caption);
    layout->addLayout(form);
    layout->addStretch();

    fill(transport_);

    // Whatever moves the choice (the mouse or the arrow keys) moves the setting.
    connect(https_, &QRadioButton::toggled, this, [this](bool on) { schemeChosen(on); });
    const auto apply = [this](auto change) {
        return [this, change](auto value) {
            change(value);
            emit changed();
        };
    };
    connect(port_, &QSpinBox::valueChanged, this, apply([this](int v) { transport_.port = v; }));
    connect(verify_, &QCheckBox::toggled, this, apply([this](bool on) { transport_.verifyCertificate = on; }));
    connect(basic_, &QCheckBox::toggled, this, apply([this](bool on) { transport_.allowClearTextBasic = on; }));
    // The settings file drops the blanks around a name; the setting does so at once.
    connect(caFile_, &QLineEdit::textChanged, this,
            apply([this](const QString& t) { transport_.caFile = t.trimmed().toStdString(); }));
    connect(domain_, &QLineEdit::textChanged, this,
            apply([this](const QString& t) { transport_.domain = t.trimmed().toStdString(); }));
    connect(controller_, &QLineEdit::textChanged, this,
            apply([this](const QString& t) { transport_.domainController = t.trimmed().toStdString(); }));
    connect(connectLimit_, &QSpinBox::valueChanged, this, apply([this](int v) { transport_.connectTimeoutMs = v; }));
    connect(queryLimit_, &QSpinBox::valueChanged, this, apply([this](int v) { transport_.queryTimeoutMs = v; }));
    connect(nodesAtOnce_, &QSpinBox::valueChanged, this, apply([this](int v) { transport_.nodesAtOnce = v; }));
    connect(browse_, &QToolButton::clicked, this, &RemotePage::chooseCaFile);
}

void RemotePage::fill(const RemoteTransport& t)
{
    const QSignalBlocker quietHttp(http_), quietHttps(https_), quietPort(port_), quietVerify(verify_),
        quietCa(caFile_), quietBasic(basic_), quietConnect(connectLimit_), quietQuery(queryLimit_),
        quietDomain(domain_), quietController(controller_), quietNodes(nodesAtOnce_);
    (t.https ? https_ : http_)->setChecked(true);
    port_->setValue(t.port);
    verify_->setChecked(t.verifyCertificate);
    caFile_->setText(QString::fromStdString(t.caFile));
    basic_->setChecked(t.allowClearTextBasic);
    connectLimit_->setValue(t.connectTimeoutMs);
    queryLimit_->setValue(t.queryTimeoutMs);
    domain_->setText(QString::fromStdString(t.domain));
    controller_->setText(QString::fromStdString(t.domainController));
    nodesAtOnce_->setValue(t.nodesAtOnce);
    showScheme(t.https);
}

void RemotePage::schemeChosen(bool https)
{
    if (transport_.https == https)
        return;
    setScheme(transport_, https);
    {
        const QSignalBlocker quiet(port_);
        port_->setValue(transport_.port);
    }
    showScheme(https);
    emit changed();
}

void RemotePage::chooseCaFile()
{
    const QString file = chooseFile_(this, caFile_->text());
    if (!file.isEmpty())
        caFile_->setText(file); // the box's own change applies it
}

void RemotePage::showScheme(bool https)
{
    for (QWidget* w : std::initializer_list<QWidget*>{verify_, caFile_, browse_})
        w->setEnabled(https);
    basic_->setEnabled(!https);
    warning_->setEnabled(!https);
}

} // namespace vorlu
