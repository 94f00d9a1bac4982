#pragma once

#include <QString>

// Every address of the maker that the program shows or opens. A packager who
// ships the program under another name changes the hosts here, and only here.
class MakerAddresses
{
public:
    static QString homePage();
    static QString ratingPage();
    static QString errorReportPage();
    static QString shopPage();
    static QString donationPage();
    static QString supportMail();
    // The home page as the link buttons show it.
    static QString homePageLabel();
    static QString supportMailLabel();
};
