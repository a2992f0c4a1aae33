#pragma once

// The seekbar as assistive technology (and the host's automation) reads it: a
// slider whose value is the time the bar shows, from 0 to the track's length,
// with the text "0:42 of 3:20" (empty with no track). Setting the value seeks,
// where a click may. Main thread.

#include <QAccessibleWidget>

class QovWaveSeekbarView;

class QovWaveSeekbarAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit QovWaveSeekbarAccessible(QovWaveSeekbarView* view);

    // Makes Qt build this interface for every seekbar view; once is enough.
    static void install();

    QString text(QAccessible::Text t) const override;
    void* interface_cast(QAccessible::InterfaceType t) override;

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant& value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

private:
    QovWaveSeekbarView* view() const;
};
