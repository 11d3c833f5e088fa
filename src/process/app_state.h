// The process state: every global variable of the program under its own name. `main` owns the
// one instance and a test makes its own; logic takes it by reference. Messages to the user go
// through `Message`, the program's folder is `Program_Folder` (data files live beside the
// executable).
#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>

#include "db/connection.h"
#include "db/db_session.h"
#include "process/messages.h"

struct AppState {
  explicit AppState(Messages& messages) : Message(&messages) {}

  Messages* Message;
  QString Program_Folder;

  // The data layer's view of this state: the connection, failures shown as critical messages.
  DbSession Db() const {
    return {Db_Connection, [m = Message](const QString& text) { m->Critical(text); }};
  }

  // Connection.
  std::shared_ptr<Connection> Db_Connection;
  QString Connection_String;
  QString Server_Name;
  QString Database_Name;
  QString Sql_User;
  QString Sql_Password;

  // Command line.
  QStringList Parametreler;
  QString Movement_Table;
  QString Right_Column_R;
  QString Right_Column_B;
  QString Computer_Name;

  // User and company.
  int32_t User_ID = 0;
  int16_t Company_ID = 0;
  QString Company_Name;
  QDate Fiscal_Year_Start;
  QDate Fiscal_Year_End;
  bool Report_Right = false;

  // Number formats.
  uint8_t Amount_Decimals = 0;
  uint8_t Currency_Decimals = 0;
  uint8_t Rate_Decimals = 0;
  int32_t Unit_Price_Decimals = 0;
  int32_t Currency_Unit_Price_Decimals = 0;
  QString Amount_Format;
  QString Currency_Format;
  QString Rate_Format;
  QString Unit_Price_Format;
  QString Currency_Unit_Price_Format;
  QString System_Decimal_Sep;
  QString System_Thousand_Sep;

  // Company flags and settings read with the parameters; nothing else reads them.
  struct CompanySettings {
    bool DovizVar = false, RenkBedenVar = false, PosVar = false, BarkodVar = false,
         HareketKilit = false;
    uint8_t OzelRenkli = 0;
    int32_t Renk_Ozel = 0, Renk_TL = 0, Renk_Doviz = 0;
    bool SatirISK_Dahil = false, FaturaAltiISK_Dahil = false, Masraflar_Dahil = false;
    uint8_t StokMinSeviye = 0, StokMaxSeviye = 0, StokSFRSeviye = 0;
    int32_t StokMinRenk = 0, StokMaxRenk = 0, StokSFRRenk = 0;
    double StokSeviyeOzelKontrol = 0;
    bool KDV_Dahildir = false;
    double DefKDV = 0;
    double KrediLimiti = 0;
    int16_t KasaHareketListeTipi = 1;
  } Company_Settings;

  // Editing.
  QString Caller_Form;
  bool Child_Cancelled = false;
  qint64 Table_ID = 0;
  QString Table_Code;
  QString Table_Name;
  int Table_Type = 2;
  bool Add_Mode = false;
  bool View_Mode = false;
  QStringList Row_Code_List;
  QStringList Row_Name_List;
  int Row_Count = 0;
  int Account_Pick_Mode = 0;
  QString Account_List_Type = "0";
  qint64 Picked_Account_ID = 0;
  QString Picked_Account_Code;
  QString Picked_Account_Name;

  // Run: the master file's statements.
  QString Base_Sql;
  QString Group_Sql;
  bool Filter_Window_Ready = false;
  bool F2_Run_Flag = false;
};
