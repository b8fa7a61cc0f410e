#pragma once

#include <QDialog>

class EffectButton;
class QFrame;
class QLabel;

// 关于: the product's title and version, its rights notice and its makers, over the program's own
// artwork. Two buttons open the publisher's and the product list's pages of the program folder
// (htm/) as the menu opens its documents.
class TFrmAbout : public QDialog {
    Q_OBJECT

  public:
    explicit TFrmAbout(QWidget* owner = nullptr);
    ~TFrmAbout() override;

    // The version the program was built as.
    static QString Version();

    // Controls, named as the window's design names them.
    QLabel* Image2 = nullptr; // background
    QLabel* Image1 = nullptr; // logo
    QLabel* Label2 = nullptr; // product title
    QLabel* Label3 = nullptr; // version
    QFrame* epBevel1 = nullptr;
    QLabel* Label4 = nullptr;           // rights notice
    QLabel* Label1 = nullptr;           // makers
    EffectButton* epEfTrBtn2 = nullptr; // 出版社简介
    EffectButton* epEfTrBtn3 = nullptr; // 产品目录
    EffectButton* epEfTrBtn1 = nullptr; // 关 闭

  public Q_SLOTS:
    void epTransparentBtn5Clickcc();
    void epEfTrBtn2Click();
    void epEfTrBtn3Click();

  protected:
    void showEvent(QShowEvent* event) override;
};
