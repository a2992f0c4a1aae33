#include "QovWaveSeekbarPrefs.h"

#include "ColorText.h"
#include "ColorWell.h"
#include "NotificationCenter.h"
#include "SystemColors.h"
#include "WaveSeekbarSettings.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

platform::ColorWell* QovWaveSeekbarPrefs::well() {
    auto* w = new platform::ColorWell;
    connect(w, &platform::ColorWell::colorBrowsed, this, [this, w] { browsed(w); });
    connect(w, &platform::ColorWell::colorPicked, this, [this, w] {
        m_beforeBrowsing.erase(w);
        changed(w);
    });
    connect(w, &platform::ColorWell::pickCancelled, this, [this, w] { cancelled(w); });
    return w;
}

cfg_var_modern::cfg_string& QovWaveSeekbarPrefs::settingOf(const platform::ColorWell* well) const {
    return well == m_played ? cfg_colorPlayed : cfg_colorRest;
}

void QovWaveSeekbarPrefs::loadView() {
    auto* container = new QWidget;
    container->setFixedSize(500, 200);
    m_played = well();
    m_rest = well();
    auto* reset = new QPushButton(QStringLiteral("Use System Colors"));
    connect(reset, &QPushButton::clicked, this, &QovWaveSeekbarPrefs::reset);

    auto* grid = new QGridLayout;
    grid->setVerticalSpacing(10);
    grid->setHorizontalSpacing(8);
    grid->addWidget(new QLabel(QStringLiteral("Played part:")), 0, 0, Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(m_played, 0, 1, Qt::AlignLeft);
    grid->addWidget(new QLabel(QStringLiteral("Rest of the track:")), 1, 0,
                    Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(m_rest, 1, 1, Qt::AlignLeft);
    grid->addWidget(reset, 2, 1, Qt::AlignLeft);

    auto* outer = new QVBoxLayout(container);
    outer->setContentsMargins(20, 20, 0, 0);
    outer->addLayout(grid);
    outer->addStretch();
    grid->setColumnStretch(2, 1);
    setView(container);
    load();
}

void QovWaveSeekbarPrefs::load() {
    if (!m_played || !m_rest) return;
    using platform::SystemColors;
    m_played->setColor(colorFromCfg(cfg_colorPlayed).value_or(SystemColors::accentColor()));
    m_rest->setColor(
        colorFromCfg(cfg_colorRest).value_or(SystemColors::color(platform::SystemColor::SecondaryLabel)));
}

void QovWaveSeekbarPrefs::changed(platform::ColorWell* sender) {
    settingOf(sender).set(wave::colorText(sender->color()).c_str());
    platform::NotificationCenter::defaultCenter().post(platform::kWaveSeekbarPrefsChanged);
}

void QovWaveSeekbarPrefs::browsed(platform::ColorWell* sender) {
    m_beforeBrowsing.try_emplace(sender, settingOf(sender).get().str());
    changed(sender);
}

void QovWaveSeekbarPrefs::cancelled(platform::ColorWell* sender) {
    const auto before = m_beforeBrowsing.find(sender);
    if (before == m_beforeBrowsing.end()) return;  // nothing was tried
    // The text itself: the well's colour would turn "system colours" into a fixed one.
    settingOf(sender).set(before->second.c_str());
    m_beforeBrowsing.erase(before);
    platform::NotificationCenter::defaultCenter().post(platform::kWaveSeekbarPrefsChanged);
    load();
}

void QovWaveSeekbarPrefs::reset() {
    cfg_colorPlayed.set("");
    cfg_colorRest.set("");
    platform::NotificationCenter::defaultCenter().post(platform::kWaveSeekbarPrefsChanged);
    load();
}
