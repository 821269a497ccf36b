#include "render/dialog/ExportMovieDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace
{
const char* const kPresets[] = {"ultrafast", "superfast", "veryfast", "faster",  "fast",
                                "medium",    "slow",      "slower",   "veryslow"};
const QSize kSizes[] = {{}, {1920, 1080}, {1280, 720}, {854, 480}, {640, 360}};
} // namespace

ExportMovieDlg::ExportMovieDlg(const QString& target, QWidget* parent)
    : QDialog(parent), m_target(target)
{
    setWindowTitle(tr("Export Show As Movie"));
    const RenderSettings defaults;
    auto* form = new QFormLayout;
    auto* where = new QLabel(target);
    where->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(tr("Movie:"), where);

    m_mode = new QComboBox;
    m_mode->addItem(tr("Smart: copy whole groups of pictures where the clips allow"));
    m_mode->addItem(tr("Exact: encode every picture again"));
    form->addRow(tr("&Mode:"), m_mode);

    m_quality = new QSpinBox;
    m_quality->setRange(0, 51);
    m_quality->setValue(defaults.quality);
    m_quality->setToolTip(tr("The encoder's constant rate factor: 0 is lossless, 16 looks like the "
                             "source, 23 is smaller"));
    form->addRow(tr("&Quality (lower is better):"), m_quality);

    m_preset = new QComboBox;
    for (const char* preset : kPresets)
        m_preset->addItem(preset);
    m_preset->setCurrentText(defaults.preset);
    form->addRow(tr("&Encoding speed:"), m_preset);

    m_size = new QComboBox;
    m_size->addItem(tr("The first clip's"));
    for (const QSize& size : kSizes)
        if (size.isValid())
            m_size->addItem(QStringLiteral("%1 x %2").arg(size.width()).arg(size.height()));
    form->addRow(tr("Picture &size:"), m_size);

    m_verify = new QCheckBox(tr("&Check the movie against its clips after writing"));
    m_verify->setChecked(defaults.verify);
    form->addRow(m_verify);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QPushButton* render = buttons->button(QDialogButtonBox::Ok);
    render->setText(tr("&Render"));
    render->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

RenderSettings ExportMovieDlg::Settings() const
{
    RenderSettings settings;
    settings.target = m_target;
    settings.mode =
        m_mode->currentIndex() == 1 ? RenderSettings::Mode::Exact : RenderSettings::Mode::Smart;
    settings.quality = m_quality->value();
    settings.preset = m_preset->currentText();
    settings.size = kSizes[m_size->currentIndex()];
    settings.verify = m_verify->isChecked();
    return settings;
}
