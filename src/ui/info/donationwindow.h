#pragma once

#include <QDialog>

// Asks regular users for a small donation and opens the donation page.
class DonationWindow : public QDialog
{
    Q_OBJECT

public:
    explicit DonationWindow(QWidget *parent = nullptr);
};
