// Construction and geometry of the main window's controls.
#include "app/MainWindow.h"

#include "app/ClickLabel.h"
#include "app/DetailPanel.h"
#include "app/ModelViewPlaceholder.h"
#include "app/Pictures.h"
#include "app/TextStyle.h"
#include "platform/ui/Twips.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QTreeWidget>
#include <algorithm>
#include <stdexcept>

namespace vorlu {

namespace {

struct Geometry {
    const char* name;
    int left, top, width, height;
};

// Designed layout in twips for screens of at most 105 pixels per inch.
// Positions of controls inside a bar or panel are relative to it.
constexpr Geometry kDesign[] = {
    {"Label6(0)", 2370, 75, 480, 195},   {"Label6(1)", 3030, 75, 690, 195},   {"Label6(2)", 4320, 75, 600, 195},
    {"Label6(3)", 3900, 75, 585, 195},   {"Label6(4)", 4620, 75, 495, 195},   {"Label6(5)", 5355, 75, 900, 195},
    {"Label6(6)", 6525, 75, 690, 195},   {"Label6(7)", 5200, 75, 315, 195},   {"Label6(8)", 5730, 75, 795, 195},
    {"Label6(9)", 6720, 75, 480, 195},   {"Image1(0)", 9075, 45, 165, 285},   {"Image1(1)", 9510, 45, 165, 285},
    {"Image1(2)", 9255, 180, 240, 150},  {"Image1(3)", 9255, 30, 240, 150},   {"Image1(4)", 9825, 45, 375, 285},
    {"Image1(5)", 10260, 45, 375, 285},  {"Image1(6)", 8430, 45, 375, 285},   {"Image1(7)", 7890, 45, 375, 285},
    {"lbldriveid", 11160, 0, 555, 315},  {"Label1", 14835, 45, 3975, 285},    {"lblgreen", 9720, 0, 1050, 390},
    {"lblamber", 11040, 0, 930, 390},    {"lblred", 12240, 0, 930, 270},      {"PicGR", 60, 825, 8835, 10905},
    {"Picture3", 8925, 825, 10210, 3975}, {"TreeView1", 8925, 4815, 5085, 6915}, {"TrView1", 14040, 4815, 5100, 6915},
    {"gridgreen", 105, 840, 18930, 10815}, {"gridamber", 105, 840, 18930, 10815}, {"gridred", 105, 840, 18930, 10815},
    {"Label5", 120, 0, 9975, 495},       {"pic_dial(0)", 8300, 840, 1815, 960}, {"Label18", 8325, 1920, 1695, 390},
    {"Picture7", 120, 600, 8175, 3255},  {"Label17", 240, 120, 1650, 390},    {"lblstatusmsg", 240, 480, 2775, 495},
    {"Label14", 5520, 120, 1260, 375},   {"Label15", 5520, 480, 2175, 390},   {"Label20", 240, 1000, 1260, 375},
    {"Label16", 2280, 1000, 5655, 975},  {"Label10", 240, 1980, 1860, 375},   {"Label11", 2280, 1980, 5295, 855},
    {"Label12", 240, 2880, 1740, 375},   {"Label13", 2280, 2880, 1455, 390},  {"Label7", 3840, 2880, 1620, 375},
    {"Label9", 5520, 2880, 2415, 375},   {"Label8", 480, 3480, 2700, 375},    {"lblavailmsg", 3240, 3480, 4695, 390},
    {"Label2", 828, 36, 3252, 228},      {"Label3", 4716, 36, 2820, 228},     {"Label4", 8076, 36, 3672, 228},
    {"lblmainstatus", 11880, 36, 7260, 228},
};

// Client area of the designed window, in twips.
constexpr int kDesignWidth = 19260;
constexpr int kDesignHeight = 12135;
constexpr int kBarHeight = 375;

// Moves of the large-font layout: -1 keeps a value.
constexpr Geometry kLargeFont[] = {
    {"PicGR", 60, 650, 4500, 7870},       {"Picture3", 4596, 650, 10210, 3936}, {"TreeView1", 4596, 4800, 3540, 4332},
    {"TrView1", 8160, 4812, 4128, 4320},  {"gridgreen", -1, 650, 12000, 7870},  {"gridamber", -1, 650, 12000, 7870},
    {"gridred", -1, 650, 12000, 7870},    {"Picture2", 0, 8520, -1, -1},        {"Picture4", -1, 300, -1, -1},
    {"Picture7", 120, 600, 4560, 3255},   {"lblgreen", 8244, -36, -1, -1},      {"lblamber", 9468, -36, -1, -1},
    {"lblred", 10512, -36, -1, -1},       {"Label6(0)", 1764, 60, -1, -1},      {"Label6(1)", 2292, 60, -1, -1},
    {"Label6(3)", 3012, 60, -1, -1},      {"Label6(4)", 3580, 60, -1, -1},      {"Label6(5)", 4104, 60, -1, -1},
    {"Label6(6)", 5124, 60, -1, -1},      {"Image1(7)", 6276, 12, -1, -1},      {"Image1(6)", 6708, 12, -1, -1},
    {"Image1(0)", 7188, 24, -1, -1},      {"Image1(3)", 7368, 24, -1, -1},      {"Image1(1)", 7596, 24, -1, -1},
    {"Image1(2)", 7356, 144, -1, -1},     {"Image1(4)", 7812, 24, -1, -1},      {"Image1(5)", 8220, 24, -1, -1},
    {"Label2", 828, 36, 3252, 228},       {"Label3", 4716, 36, 2820, 228},      {"Label4", 8076, 36, 3672, 228},
    {"lblmainstatus", 11880, 36, 408, 228}, {"lbldriveid", -1, -48, -1, -1},
    // The detail labels, packed into the narrower panel.
    {"Label17", 120, 60, 1400, 300},      {"lblstatusmsg", 120, 360, 2200, 420}, {"Label14", 2500, 60, 1100, 300},
    {"Label15", 2500, 360, 1900, 330},    {"Label20", 120, 900, 1100, 300},     {"Label16", 1500, 900, 2950, 800},
    {"Label10", 120, 1760, 1400, 300},    {"Label11", 1500, 1760, 2950, 700},   {"Label12", 120, 2520, 1400, 300},
    {"Label13", 1500, 2520, 900, 330},    {"Label7", 2450, 2520, 1100, 300},    {"Label9", 3550, 2520, 950, 330},
    {"Label8", 120, 2900, 2000, 300},     {"lblavailmsg", 2200, 2900, 2250, 330},
};

constexpr int kLargeFontWidth = 12288;
// The window is 9216 twips high with its frame; its client area ends with the status bar.
constexpr int kLargeFontClientHeight = 8520 + kBarHeight;

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text = {})
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

void setTextColour(QWidget* w, const QColor& c)
{
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, c);
    w->setPalette(p);
}

} // namespace

void Frmmain::buildCommandBar()
{
    picture1_ = makeLabel(this, "Picture1");
    picture1_->setScaledContents(false);
    static constexpr std::array<int, 6> barLabels{0, 1, 3, 4, 5, 6};
    static const char* captions[10] = {"Main", "Network", "Sensors", "Nodes", "Drives",
                                       "Adminisrator", "Configure", "OK", "Warning", "Error"};
    for (int i : barLabels) {
        label6_[static_cast<std::size_t>(i)] = new ClickLabel(captions[i], picture1_);
    }
    static const char* tips[8] = {"Move Left", "Move Right", "Move Down", "Move Up",
                                  "Zoom In",   "Zoom Out",   "Scan Current Node", "Re-Scan Network"};
    for (int i = 0; i < 8; ++i) {
        auto* img = new ClickLabel(picture1_);
        img->setObjectName(QString("Image1(%1)").arg(i));
        img->setToolTip(tips[i]);
        img->setCursor(Qt::PointingHandCursor);
        image1_[static_cast<std::size_t>(i)] = img;
        connect(img, &ClickLabel::clicked, this, [this, i] { image1Clicked(i); });
    }
    driveId_ = makeLabel(picture1_, "lbldriveid");
    setTextColour(driveId_, QColor(192, 192, 0));
    makeLabel(picture1_, "Label1")->hide();

    picture4_ = makeLabel(this, "Picture4");
    for (int i : {2, 7, 8, 9})
        label6_[static_cast<std::size_t>(i)] = new ClickLabel(captions[i], picture4_);
    for (std::size_t i = 0; i < label6_.size(); ++i) {
        ClickLabel* l = label6_[i];
        l->setObjectName(QString("Label6(%1)").arg(i));
        l->setFont(calibri(8, true));
        l->setCursor(Qt::PointingHandCursor);
        setTextColour(l, Qt::white);
        const int index = static_cast<int>(i);
        connect(l, &ClickLabel::clicked, this, [this, index] { label6Clicked(index); });
    }
    setTextColour(label6_[2], QColor(192, 192, 255));
}

void Frmmain::buildLegendBar()
{
    struct Counter {
        const char* name;
        QColor colour;
        const char* tip;
    };
    static const Counter counters[3] = {Counter{"lblgreen", QColor(0, 255, 0), "OK"},
                                        Counter{"lblamber", QColor(255, 255, 0), "Warning"},
                                        Counter{"lblred", QColor(255, 0, 0), "Error"}};
    for (const Counter& c : counters) {
        QLabel* l = makeLabel(picture4_, c.name, "0");
        counters_[static_cast<std::size_t>(&c - counters)] = l;
        l->setFont(calibri(13, true));
        l->setToolTip(c.tip);
        l->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
        setTextColour(l, c.colour);
    }
}

void Frmmain::buildDetailPanel()
{
    detailPanel_ = std::make_unique<DetailPanel>(this, driveId_);
    picture3_ = detailPanel_->widget();
}

void Frmmain::buildWorkArea()
{
    picGR_ = scene_.createModelView(this);
    picGR_->setObjectName("PicGR");

    treeView1_ = new QTreeWidget(this);
    treeView1_->setObjectName("TreeView1");
    trView1_ = new QTreeWidget(this);
    trView1_->setObjectName("TrView1");
    for (QTreeWidget* t : {treeView1_, trView1_}) {
        t->setHeaderHidden(true);
        t->setIconSize(QSize(20, 20));
        t->setRootIsDecorated(true);
    }
    static const char* gridNames[3] = {"gridgreen", "gridamber", "gridred"};
    for (std::size_t i = 0; i < grids_.size(); ++i) {
        auto* g = new QTableWidget(this);
        g->setObjectName(gridNames[i]);
        g->setEditTriggers(QAbstractItemView::NoEditTriggers);
        g->verticalHeader()->hide();
        g->hide();
        grids_[i] = g;
    }
}

void Frmmain::buildStatusBar()
{
    picture2_ = makeLabel(this, "Picture2");
    const char* names[] = {"Label2", "Label3", "Label4"};
    for (std::size_t i = 0; i < selectedNode_.size(); ++i) {
        QLabel* l = makeLabel(picture2_, names[i]);
        l->setFont(calibri(9, true));
        setTextColour(l, QColor(235, 232, 245));
        selectedNode_[i] = l;
    }
    statusMessage_ = makeLabel(picture2_, "lblmainstatus");
    statusMessage_->setFont(calibri(9));
    setTextColour(statusMessage_, QColor(255, 236, 170));
}

namespace {

void place(QWidget* root, const Geometry& g, const Twips& t)
{
    QWidget* w = root->objectName() == g.name ? root : root->findChild<QWidget*>(g.name);
    if (!w) // a layout row for a control that is not there is a fault of the program
        throw std::logic_error(std::string("no control named ") + g.name);
    const QRect old = w->geometry();
    QRect r(g.left == -1 ? old.x() : t.px(g.left), g.top == -1 ? old.y() : t.px(g.top),
            g.width == -1 ? old.width() : t.px(g.width), g.height == -1 ? old.height() : t.px(g.height));
    // Captions keep their designed place but never clip their text, whatever
    // font the system substitutes.
    if (auto* label = qobject_cast<QLabel*>(w); label && !label->text().isEmpty() && !label->wordWrap())
        r.setWidth(std::max(r.width(), label->sizeHint().width()));
    w->setGeometry(r);
}

} // namespace

void Frmmain::applyDesignLayout()
{
    const Twips t{static_cast<double>(logicalDpiX())};
    resize(t.px(kDesignWidth), t.px(kDesignHeight));
    for (const Geometry& g : kDesign)
        place(this, g, t);
    picture1_->setGeometry(0, 0, width(), t.px(kBarHeight));
    picture4_->setGeometry(0, t.px(kBarHeight), width(), t.px(kBarHeight));
    picture2_->setGeometry(0, t.px(11760), width(), t.px(kBarHeight));
    detailPanel_->refreshDials(devicePixelRatioF());
    captureDesign();
}

void Frmmain::applyLargeFontLayout()
{
    const Twips t{static_cast<double>(logicalDpiX())};
    designedRects_.reset(); // the resize below must not scale the old layout
    for (const Geometry& g : kLargeFont)
        place(this, g, t);
    resize(t.px(kLargeFontWidth), t.px(kLargeFontClientHeight));
    captureDesign();
    // The trees reach below the status bar's top; the bar stays in front.
    picture2_->raise();
    detailPanel_->useLargeFonts();
    detailPanel_->refreshDials(devicePixelRatioF());
    refreshBarPictures();
}

void Frmmain::refreshBarPictures()
{
    std::array<QRect, 8> rects;
    for (std::size_t i = 0; i < rects.size(); ++i)
        rects[i] = image1_[i]->geometry();
    const qreal dpr = devicePixelRatioF();
    picture1_->setPixmap(pictures::commandBarBackground(picture1_->size(), dpr, rects));
    picture4_->setPixmap(pictures::legendBarBackground(picture4_->size(), dpr));
    picture2_->setPixmap(pictures::statusBarBackground(picture2_->size(), dpr));
}

void Frmmain::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    applyResizeLayout();
    // The bars span the window, whatever its width.
    for (QLabel* bar : {picture1_, picture4_, picture2_})
        bar->resize(width(), bar->height());
    refreshBarPictures();
}

} // namespace vorlu
