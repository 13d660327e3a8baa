#ifndef ZEMBRAX_APP_COMPONENTS_CSPINEDIT_H_
#define ZEMBRAX_APP_COMPONENTS_CSPINEDIT_H_

#include <QAbstractSpinBox>

#include <cstdint>

// A numeric edit with spin buttons. The user may type any digits and signs;
// the text stays as typed until a spin step rewrites it. Equal minimum and
// maximum (both 0 from construction) mean no limits.
class TCSpinEdit : public QAbstractSpinBox {
  Q_OBJECT
  Q_PROPERTY(int value READ value WRITE setValue)
  Q_PROPERTY(int minValue READ minValue WRITE setMinValue)
  Q_PROPERTY(int maxValue READ maxValue WRITE setMaxValue)

 public:
  explicit TCSpinEdit(QWidget* parent = nullptr);

  // The number in the text, kept within the limits; a text that is not a
  // number reads as the minimum.
  int value() const;
  void setValue(int value);

  int minValue() const { return minimum; }
  void setMinValue(int value) { minimum = value; }
  int maxValue() const { return maximum; }
  void setMaxValue(int value) { maximum = value; }

  void stepBy(int steps) override;
  QValidator::State validate(QString& input, int& pos) const override;

 protected:
  StepEnabled stepEnabled() const override;

 private:
  std::int64_t withinLimits(std::int64_t value) const;

  int minimum = 0;
  int maximum = 0;
};

#endif  // ZEMBRAX_APP_COMPONENTS_CSPINEDIT_H_
