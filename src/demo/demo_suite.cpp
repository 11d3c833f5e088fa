#include "demo/demo_suite.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QVariant>
#include <algorithm>
#include <map>
#include <stdexcept>
#include <vector>

#include "db/connection.h"
#include "db/postgres_server.h"
#include "db/suite_text.h"
#include "demo/suite_schema.h"
#include "model/standard_definition.h"
#include "model/table_definition.h"
#include "process/app_state.h"
#include "ui_common/turkish_text.h"

namespace {

struct Account {
  const char* code;
  const char* name;
};

// Main accounts of the uniform chart the demo ledger uses, each with its sub-accounts.
struct MainAccount {
  const char* code;
  const char* name;
  std::vector<Account> subs;
};

const std::vector<MainAccount>& Chart() {
  static const std::vector<MainAccount> chart = {
      {"100", "KASA", {{"100.01", "MERKEZ KASA"}}},
      {"101", "ALINAN ÇEKLER", {}},
      {"102", "BANKALAR", {{"102.01", "ZİRAAT BANKASI"}, {"102.02", "İŞ BANKASI"}}},
      {"120", "ALICILAR", {{"120.01", "YURT İÇİ ALICILAR"}, {"120.02", "YURT DIŞI ALICILAR"}}},
      {"121", "ALACAK SENETLERİ", {}},
      {"128", "ŞÜPHELİ TİCARİ ALACAKLAR", {}},
      {"129", "ŞÜPHELİ TİCARİ ALACAKLAR KARŞILIĞI", {}},
      {"136", "DİĞER ÇEŞİTLİ ALACAKLAR", {}},
      {"150", "İLK MADDE VE MALZEME", {}},
      {"153", "TİCARİ MALLAR", {{"153.01", "TİCARİ MALLAR DEPO"}}},
      {"190", "DEVREDEN KDV", {}},
      {"191", "İNDİRİLECEK KDV", {{"191.01", "İNDİRİLECEK KDV %20"}}},
      {"193", "PEŞİN ÖDENEN VERGİLER VE FONLAR", {}},
      {"252", "BİNALAR", {}},
      {"253", "TESİS MAKİNE VE CİHAZLAR", {}},
      {"254", "TAŞITLAR", {{"254.01", "BİNEK OTOLAR"}}},
      {"255", "DEMİRBAŞLAR", {{"255.01", "BÜRO DEMİRBAŞLARI"}}},
      {"257", "BİRİKMİŞ AMORTİSMANLAR", {}},
      {"300",
       "BANKA KREDİLERİ",
       {{"300.01", "ZİRAAT BANKASI İŞLETME KREDİSİ"}, {"300.02", "İŞ BANKASI KREDİLİ MEVDUAT"}}},
      {"320", "SATICILAR", {{"320.01", "YURT İÇİ SATICILAR"}}},
      {"335", "PERSONELE BORÇLAR", {}},
      {"360", "ÖDENECEK VERGİ VE FONLAR", {}},
      {"361", "ÖDENECEK SOSYAL GÜVENLİK KESİNTİLERİ", {}},
      {"370", "DÖNEM KÂRI VERGİ VE DİĞER YASAL YÜKÜMLÜLÜK KARŞILIKLARI", {}},
      {"391", "HESAPLANAN KDV", {{"391.01", "HESAPLANAN KDV %20"}}},
      {"400", "BANKA KREDİLERİ", {}},
      {"500", "SERMAYE", {}},
      {"540", "YASAL YEDEKLER", {}},
      {"570", "GEÇMİŞ YILLAR KÂRLARI", {}},
      {"580", "GEÇMİŞ YILLAR ZARARLARI", {}},
      {"590", "DÖNEM NET KÂRI", {}},
      {"591", "DÖNEM NET ZARARI", {}},
      {"600",
       "YURT İÇİ SATIŞLAR",
       {{"600.01", "TİCARİ MAL SATIŞLARI"}, {"600.02", "HİZMET SATIŞLARI"}}},
      {"601", "YURT DIŞI SATIŞLAR", {}},
      {"602", "DİĞER GELİRLER", {}},
      {"610", "SATIŞTAN İADELER", {}},
      {"611", "SATIŞ İSKONTOLARI", {}},
      {"612", "DİĞER İNDİRİMLER", {}},
      {"620", "SATILAN MAMULLER MALİYETİ", {}},
      {"621", "SATILAN TİCARİ MALLAR MALİYETİ", {}},
      {"622", "SATILAN HİZMET MALİYETİ", {}},
      {"623", "DİĞER SATIŞLARIN MALİYETİ", {}},
      {"630", "ARAŞTIRMA VE GELİŞTİRME GİDERLERİ", {}},
      {"631", "PAZARLAMA SATIŞ VE DAĞITIM GİDERLERİ", {}},
      {"632",
       "GENEL YÖNETİM GİDERLERİ",
       {{"632.01", "PERSONEL GİDERLERİ"},
        {"632.02", "KİRA GİDERLERİ"},
        {"632.03", "AMORTİSMAN GİDERLERİ"}}},
      {"640", "İŞTİRAKLERDEN TEMETTÜ GELİRLERİ", {}},
      {"642", "FAİZ GELİRLERİ", {}},
      {"643", "KOMİSYON GELİRLERİ", {}},
      {"646", "KAMBİYO KÂRLARI", {}},
      {"649", "DİĞER OLAĞAN GELİR VE KÂRLAR", {}},
      {"653", "KOMİSYON GİDERLERİ", {}},
      {"654", "KARŞILIK GİDERLERİ", {}},
      {"656", "KAMBİYO ZARARLARI", {}},
      {"659", "DİĞER OLAĞAN GİDER VE ZARARLAR", {}},
      {"660", "KISA VADELİ BORÇLANMA GİDERLERİ", {}},
      {"661", "UZUN VADELİ BORÇLANMA GİDERLERİ", {}},
      {"671", "ÖNCEKİ DÖNEM GELİR VE KÂRLARI", {}},
      {"679", "DİĞER OLAĞAN DIŞI GELİR VE KÂRLAR", {}},
      {"680", "ÇALIŞMAYAN KISIM GİDER VE ZARARLARI", {}},
      {"681", "ÖNCEKİ DÖNEM GİDER VE ZARARLARI", {}},
      {"689", "DİĞER OLAĞAN DIŞI GİDER VE ZARARLAR", {}},
      {"690", "DÖNEM KÂRI VEYA ZARARI", {}},
      {"691", "DÖNEM KÂRI VERGİ VE DİĞER YASAL YÜKÜMLÜLÜK KARŞILIKLARI", {}},
      {"692", "DÖNEM NET KÂRI VEYA ZARARI", {}},
      {"760", "PAZARLAMA SATIŞ VE DAĞITIM GİDERLERİ", {{"760.01", "AMORTİSMAN GİDERLERİ"}}},
      {"761", "PAZARLAMA SATIŞ VE DAĞITIM GİDERLERİ YANSITMA HESABI", {}},
      {"770", "GENEL YÖNETİM GİDERLERİ", {{"770.01", "AMORTİSMAN GİDERLERİ"}}},
      {"771", "GENEL YÖNETİM GİDERLERİ YANSITMA HESABI", {}},
      {"900", "VERİLEN TEMİNAT MEKTUPLARI", {}},
      {"950", "VERİLEN TEMİNAT MEKTUPLARI KARŞILIĞI", {}},
  };
  return chart;
}

// Deterministic generator, so every demo suite holds the same ledger.
class Random {
 public:
  explicit Random(uint64_t state) : state_(state) {}
  uint64_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 7;
    state_ ^= state_ << 17;
    return state_;
  }
  long long Between(long long low, long long high) {
    return low + static_cast<long long>(Next() % static_cast<uint64_t>(high - low + 1));
  }

 private:
  uint64_t state_;
};

// The generator's start for a company: its own constant, mixed with the ledger number when one is
// given (splitmix64), never 0, which the generator could not leave.
uint64_t Random_Start(uint64_t company_constant, uint64_t ledger_number) {
  if (ledger_number == 0) return company_constant;
  uint64_t z = company_constant ^ (ledger_number + 0x9E3779B97F4A7C15ULL);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  z ^= z >> 31;
  return z != 0 ? z : company_constant;
}

// Writes voucher lines in kuruş (exact integers) and flushes them in batches; keeps each
// account's balance (debit less credit) for the month-end and year-end vouchers.
class Ledger {
 public:
  Ledger(Connection& db, std::map<QString, std::pair<int, QString>> accounts, int year)
      : db_(db), accounts_(std::move(accounts)), year_(year) {}

  void Line(const QDate& date, const char* type, const QString& code, long long debit,
            long long credit, const QString& text, const char* workplace) {
    if (debit == 0 && credit == 0) return;
    auto it = accounts_.find(code);
    int main_id = it->second.first;
    rows_.push_back({fis_no_, date.toString("yyyy-MM-dd"), QString::number(year_),
                     Month_Name_TR(date.month()), date.month(), QString(type), code, main_id, text,
                     debit / 100.0, credit / 100.0, QString(workplace)});
    ++lines_;
    balances_[code] += debit - credit;
    if (code.startsWith('6')) profit_ += credit - debit;
    if (rows_.size() >= 20000) Flush();
  }
  // A line of `amount` on the debit of `code` (on its credit when negative), the other side on
  // `against`; nothing for 0.
  void Move(const QDate& date, const char* type, const QString& code, const QString& against,
            long long amount, const QString& text) {
    if (amount == 0) return;
    Line(date, type, code, amount > 0 ? amount : 0, amount < 0 ? -amount : 0, text, "01");
    Line(date, type, against, amount < 0 ? -amount : 0, amount > 0 ? amount : 0, text, "01");
  }
  void Next_Voucher() { ++fis_no_; }
  void Flush() {
    if (rows_.empty()) return;
    db_.Execute_Batch(
        "INSERT INTO MUHFISHAR (Fis_No, Tarih, Yil, AY, Ay_Index, Islem_Tipi, MHesap_Kod, "
        "Ana_Hesap_ID, Aciklama, BTutar, ATutar, Isyeri_Kodu) VALUES (?,?,?,?,?,?,?,?,?,?,?,?)",
        rows_);
    rows_.clear();
  }
  long long Lines() const { return lines_; }
  long long Profit() const { return profit_; }
  long long Balance(const QString& code) const {
    auto it = balances_.find(code);
    return it == balances_.end() ? 0 : it->second;
  }
  const std::map<QString, long long>& Balances() const { return balances_; }

 private:
  Connection& db_;
  std::map<QString, std::pair<int, QString>> accounts_;
  int year_;
  int fis_no_ = 1;
  long long lines_ = 0;
  long long profit_ = 0;
  std::map<QString, long long> balances_;
  std::vector<std::vector<QVariant>> rows_;
};

long long Vat(long long net) { return (net * 20 + 50) / 100; }

const char* kOpening = "Açılış Fişi";
const char* kClosing = "Kapanış Fişi";
const char* kJournal = "Mahsup Fişi";
const char* kReceipt = "Tahsil Fişi";
const char* kPayment = "Tediye Fişi";

// The balances a year ends with, by account code: its opening voucher's lines for the next year.
using Balances = std::map<QString, long long>;

// The year's opening voucher: a first year's fixed balances, or the previous year's closing
// balances (the balance sheet accounts and the memo accounts).
void Write_Opening(Ledger& l, int year, long long scale, const Balances* previous) {
  QDate jan1(year, 1, 1);
  if (previous) {
    for (const auto& [code, balance] : *previous) {
      if (balance == 0 || code.startsWith('6') || code.startsWith('7')) continue;
      l.Line(jan1, kOpening, code, balance > 0 ? balance : 0, balance < 0 ? -balance : 0,
             "Açılış kaydı", "01");
    }
  } else {
    // Assets debit, liabilities and equity credit; a letter of guarantee in the memo accounts.
    struct {
      const char* code;
      long long debit, credit;
    } open[] = {
        {"100.01", 5000000 * scale, 0},  {"102.01", 25000000 * scale, 0},
        {"102.02", 15000000 * scale, 0}, {"120.01", 18000000 * scale, 0},
        {"153.01", 30000000 * scale, 0}, {"254.01", 45000000 * scale, 0},
        {"255.01", 12000000 * scale, 0}, {"257", 0, 14000000 * scale},
        {"300.01", 0, 20000000 * scale}, {"320.01", 0, 16000000 * scale},
        {"500", 0, 80000000 * scale},    {"570", 0, 20000000 * scale},
        {"900", 7500000 * scale, 0},     {"950", 0, 7500000 * scale},
    };
    for (auto& o : open) l.Line(jan1, kOpening, o.code, o.debit, o.credit, "Açılış kaydı", "01");
  }
  l.Next_Voucher();
}

// The month's end: depreciation through the cost accounts and their reflection into the
// expenses, VAT offset (the payable to 360, an excess carried in 190), and the overdraft of the
// account that pays the suppliers shown as the loan it is.
void Close_Month(Ledger& l, const QDate& end, long long scale) {
  const long long vehicles = 45000000 * scale * 20 / 100 / 12;  // 20% a year, straight line
  const long long fixtures = 12000000 * scale * 20 / 100 / 12;
  l.Line(end, kJournal, "760.01", vehicles, 0, "Taşıtlar amortismanı", "01");
  l.Line(end, kJournal, "770.01", fixtures, 0, "Demirbaşlar amortismanı", "01");
  l.Line(end, kJournal, "257", 0, vehicles + fixtures, "Aylık amortisman", "01");
  l.Next_Voucher();
  l.Line(end, kJournal, "631", vehicles, 0, "Amortisman yansıtma", "01");
  l.Line(end, kJournal, "761", 0, vehicles, "Amortisman yansıtma", "01");
  l.Line(end, kJournal, "632.03", fixtures, 0, "Amortisman yansıtma", "01");
  l.Line(end, kJournal, "771", 0, fixtures, "Amortisman yansıtma", "01");
  l.Next_Voucher();

  const long long output_vat = -l.Balance("391.01"), input_vat = l.Balance("191.01");
  const long long carried = l.Balance("190");
  l.Line(end, kJournal, "391.01", output_vat, 0, "KDV mahsubu", "01");
  l.Line(end, kJournal, "191.01", 0, input_vat, "KDV mahsubu", "01");
  const long long payable = output_vat - input_vat - carried;
  if (payable >= 0) {
    l.Line(end, kJournal, "190", 0, carried, "KDV mahsubu", "01");
    l.Line(end, kJournal, "360", 0, payable, "Ödenecek KDV", "01");
  } else {
    // More VAT paid than charged: what is left over stays in 190 for the next month.
    const long long change = input_vat - output_vat;
    l.Line(end, kJournal, "190", std::max(change, 0LL), std::max(-change, 0LL), "Devreden KDV",
           "01");
  }
  l.Next_Voucher();

  // The overdraft used on the İş Bankası account is a bank loan at the month's end.
  l.Move(end, kJournal, "102.02", "300.02", -l.Balance("102.02"), "Kredili mevduat kullanımı");
  l.Next_Voucher();
}

// The year's closing voucher: the cost accounts against their reflection accounts, every income
// statement account into 690, 690 into 692, and the net result into 590 (profit) or 591 (loss).
void Write_Closing(Ledger& l, int year) {
  const QDate dec31(year, 12, 31);
  Balances cost_accounts;
  for (const auto& [code, balance] : l.Balances())
    if (code.startsWith('7') && balance != 0) cost_accounts[code] = balance;
  for (const auto& [code, balance] : cost_accounts)  // they add up to nil: reflected monthly
    l.Line(dec31, kClosing, code, balance < 0 ? -balance : 0, balance > 0 ? balance : 0,
           "Maliyet hesaplarının kapatılması", "01");
  Balances result_accounts;
  for (const auto& [code, balance] : l.Balances())
    if (code.startsWith('6') && code != "690" && code != "692" && balance != 0)
      result_accounts[code] = balance;
  for (const auto& [code, balance] : result_accounts)
    l.Move(dec31, kClosing, code, "690", -balance, "Gelir tablosu hesaplarının kapatılması");
  l.Move(dec31, kClosing, "690", "692", -l.Balance("690"), "Dönem kârı veya zararı");
  const long long net = -l.Balance("692");  // credit: a profit
  l.Move(dec31, kClosing, "692", net >= 0 ? "590" : "591", net, "Dönem net kârı veya zararı");
  l.Next_Voucher();
}

void Write_Year(Ledger& l, Random& r, int year, long long target_lines, long long scale,
                const Balances* previous, bool closing) {
  Write_Opening(l, year, scale, previous);

  // Ordinary year: about 2,500 lines; a larger target repeats the trading cycle.
  long long cycles = target_lines > 0 ? std::max(1LL, (target_lines - 300) * 2 / (12 * 25)) : 10;
  for (int month = 1; month <= 12; ++month) {
    auto day = [&](void) { return QDate(year, month, static_cast<int>(r.Between(1, 28))); };
    QDate end(year, month, QDate(year, month, 1).daysInMonth());
    QDate mid(year, month, 15);
    // Last month's overdraft back on its bank account and covered from the other one, as far as
    // that one has; last month's net wages, VAT and social security paid.
    const QDate first(year, month, 1);
    l.Move(first, kJournal, "300.02", "102.02", -l.Balance("300.02"),
           "Kredili mevduat virmanı iptali");
    l.Next_Voucher();
    l.Move(first, kJournal, "102.02", "102.01",
           std::min(std::max(0LL, -l.Balance("102.02")), std::max(0LL, l.Balance("102.01"))),
           "Hesaplar arası virman");
    l.Next_Voucher();
    l.Move(QDate(year, month, 5), kPayment, "335", "102.01", -l.Balance("335"), "Ücret ödemesi");
    l.Next_Voucher();
    l.Move(QDate(year, month, 26), kPayment, "361", "102.01", -l.Balance("361"),
           "SGK prim ödemesi");
    l.Next_Voucher();
    l.Move(QDate(year, month, 26), kPayment, "360", "102.01", -l.Balance("360"), "KDV ödemesi");
    l.Next_Voucher();
    if (month == 3 && l.Balance("590") < 0) {
      // The general assembly's appropriation of last year's profit.
      const long long profit = -l.Balance("590");
      l.Line(QDate(year, 3, 20), kJournal, "590", profit, 0, "Kâr dağıtımı", "01");
      l.Line(QDate(year, 3, 20), kJournal, "540", 0, profit * 5 / 100, "Yasal yedek", "01");
      l.Line(QDate(year, 3, 20), kJournal, "570", 0, profit - profit * 5 / 100, "Kâr dağıtımı",
             "01");
      l.Next_Voucher();
    }
    if (month == 4) {
      l.Move(QDate(year, 4, 30), kPayment, "370", "102.01", -l.Balance("370"),
             "Kurumlar vergisi ödemesi");
      l.Next_Voucher();
    }
    for (long long c = 0; c < cycles; ++c) {
      const char* wp = r.Between(0, 3) == 0 ? "02" : "01";
      long long net = r.Between(100000, 2500000) * scale;  // kuruş
      long long cost = net * 60 / 100;
      QDate d = day();
      // Purchase of goods with VAT.
      l.Line(d, kJournal, "153.01", cost, 0, "Mal alışı", wp);
      l.Line(d, kJournal, "191.01", Vat(cost), 0, "Mal alışı KDV", wp);
      l.Line(d, kJournal, "320.01", 0, cost + Vat(cost), "Mal alışı", wp);
      l.Next_Voucher();
      // Sale on account with VAT, and its cost.
      bool service = r.Between(0, 4) == 0;
      l.Line(d, kJournal, "120.01", net + Vat(net), 0, "Satış faturası", wp);
      l.Line(d, kJournal, service ? "600.02" : "600.01", 0, net, "Satış faturası", wp);
      l.Line(d, kJournal, "391.01", 0, Vat(net), "Satış faturası KDV", wp);
      l.Next_Voucher();
      l.Line(d, kJournal, service ? "622" : "621", cost, 0, "Satışların maliyeti", wp);
      l.Line(d, kJournal, "153.01", 0, cost, "Satışların maliyeti", wp);
      l.Next_Voucher();
      // Collection and payment of the invoices.
      QDate later = day();
      l.Line(later, kReceipt, "102.01", net + Vat(net), 0, "Müşteri tahsilatı", wp);
      l.Line(later, kReceipt, "120.01", 0, net + Vat(net), "Müşteri tahsilatı", wp);
      l.Next_Voucher();
      l.Line(later, kPayment, "320.01", cost + Vat(cost), 0, "Satıcı ödemesi", wp);
      l.Line(later, kPayment, "102.02", 0, cost + Vat(cost), "Satıcı ödemesi", wp);
      l.Next_Voucher();
      if (r.Between(0, 5) == 0) {  // a return
        long long back = net / 10;
        l.Line(later, kJournal, "610", back, 0, "Satıştan iade", wp);
        l.Line(later, kJournal, "391.01", Vat(back), 0, "Satıştan iade KDV", wp);
        l.Line(later, kJournal, "120.01", 0, back + Vat(back), "Satıştan iade", wp);
        l.Next_Voucher();
      }
    }
    long long s = scale * cycles / 10 + (scale * cycles < 10 ? scale : 0);
    // Export sale and its collection, discounts, expenses, salaries, interest, bank charges.
    long long export_net = r.Between(500000, 3000000) * s;
    l.Line(mid, kJournal, "120.02", export_net, 0, "İhracat faturası", "01");
    l.Line(mid, kJournal, "601", 0, export_net, "İhracat faturası", "01");
    l.Next_Voucher();
    l.Line(end, kReceipt, "102.02", export_net, 0, "İhracat tahsilatı", "01");
    l.Line(end, kReceipt, "120.02", 0, export_net, "İhracat tahsilatı", "01");
    l.Next_Voucher();
    long long discount = r.Between(20000, 150000) * s;
    l.Line(mid, kJournal, "611", discount, 0, "Satış iskontosu", "01");
    l.Line(mid, kJournal, "120.01", 0, discount, "Satış iskontosu", "01");
    l.Next_Voucher();
    long long marketing = r.Between(80000, 400000) * s;
    l.Line(mid, kPayment, "631", marketing, 0, "Reklam gideri", "01");
    l.Line(mid, kPayment, "191.01", Vat(marketing), 0, "Reklam gideri KDV", "01");
    l.Line(mid, kPayment, "102.02", 0, marketing + Vat(marketing), "Reklam gideri", "01");
    l.Next_Voucher();
    long long rent = 250000 * s;
    l.Line(mid, kPayment, "632.02", rent, 0, "Kira gideri", "01");
    l.Line(mid, kPayment, "102.01", 0, rent, "Kira gideri", "01");
    l.Next_Voucher();
    long long salary = 1800000 * s;
    l.Line(end, kJournal, "632.01", salary, 0, "Personel maaşları", "01");
    l.Line(end, kJournal, "335", 0, salary * 85 / 100, "Net ücretler", "01");
    l.Line(end, kJournal, "361", 0, salary - salary * 85 / 100, "SGK kesintileri", "01");
    l.Next_Voucher();
    long long interest = r.Between(10000, 90000) * s;
    l.Line(end, kReceipt, "102.01", interest, 0, "Vadeli mevduat faizi", "01");
    l.Line(end, kReceipt, "642", 0, interest, "Vadeli mevduat faizi", "01");
    l.Next_Voucher();
    long long commission = r.Between(2000, 12000) * s;
    l.Line(end, kPayment, "653", commission, 0, "Banka komisyonu", "01");
    l.Line(end, kPayment, "102.01", 0, commission, "Banka komisyonu", "01");
    l.Next_Voucher();
    long long loan_interest = r.Between(150000, 300000) * s;
    l.Line(end, kPayment, "660", loan_interest, 0, "Kredi faizi", "01");
    l.Line(end, kPayment, "102.01", 0, loan_interest, "Kredi faizi", "01");
    l.Next_Voucher();
    long long fx = r.Between(-40000, 60000) * s;
    l.Line(end, kJournal, "102.02", fx > 0 ? fx : 0, fx < 0 ? -fx : 0, "Kur farkı", "01");
    l.Line(end, kJournal, fx > 0 ? "646" : "656", fx < 0 ? -fx : 0, fx > 0 ? fx : 0, "Kur farkı",
           "01");
    l.Next_Voucher();
    if (month == 6) {
      QDate june(year, 6, 30);
      l.Line(june, kJournal, "102.01", 450000 * scale, 0, "Komisyon geliri", "01");
      l.Line(june, kJournal, "643", 0, 450000 * scale, "Komisyon geliri", "01");
      l.Next_Voucher();
      l.Line(june, kJournal, "136", 120000 * scale, 0, "Önceki dönem gelir düzeltmesi", "01");
      l.Line(june, kJournal, "671", 0, 120000 * scale, "Önceki dönem gelir düzeltmesi", "01");
      l.Next_Voucher();
    }
    if (month == 9) {
      l.Line(QDate(year, 9, 12), kJournal, "689", 85000 * scale, 0, "Kasa sayım farkı", "01");
      l.Line(QDate(year, 9, 12), kJournal, "100.01", 0, 85000 * scale, "Kasa sayım farkı", "01");
      l.Next_Voucher();
    }
    if (month == 10) {
      // A receivable taken to court: doubtful, and provided for in full.
      const QDate oct3(year, 10, 3);
      l.Line(oct3, kJournal, "128", 300000 * scale, 0, "Şüpheli hale gelen alacak", "01");
      l.Line(oct3, kJournal, "120.01", 0, 300000 * scale, "Şüpheli hale gelen alacak", "01");
      l.Next_Voucher();
      l.Line(oct3, kJournal, "654", 300000 * scale, 0, "Şüpheli alacak karşılığı", "01");
      l.Line(oct3, kJournal, "129", 0, 300000 * scale, "Şüpheli alacak karşılığı", "01");
      l.Next_Voucher();
    }
    Close_Month(l, end, scale);
  }
  // Year end: tax provision on the year's profit.
  const QDate dec31(year, 12, 31);
  long long tax = l.Profit() > 0 ? l.Profit() * 25 / 100 : 0;
  if (tax > 0) {
    l.Line(dec31, kJournal, "691", tax, 0, "Kurumlar vergisi karşılığı", "01");
    l.Line(dec31, kJournal, "370", 0, tax, "Kurumlar vergisi karşılığı", "01");
    l.Next_Voucher();
  }
  if (closing) Write_Closing(l, year);
  l.Flush();
}

void Fill_Chart(Connection& db, std::map<QString, std::pair<int, QString>>& accounts) {
  int id = 0;
  std::vector<std::vector<QVariant>> rows;
  for (const MainAccount& m : Chart()) {
    int main_id = ++id;
    rows.push_back({main_id, m.code, m.name, QString(m.code).left(1), 1, 1});
    accounts[m.code] = {main_id, m.name};
    for (const Account& a : m.subs) {
      rows.push_back({++id, a.code, a.name, QString(m.code).left(1), 1, 0});
      accounts[a.code] = {main_id, a.name};
    }
  }
  db.Execute_Batch(
      "INSERT INTO MUHKART (MHesap_ID, MHesap_Kod, MHesap_Ad, MGrup_Kod, Aktif, AnaHesaptir) "
      "VALUES (?,?,?,?,?,?)",
      rows);
}

void Fill_Lookups(Connection& db) {
  db.Execute_Batch("INSERT INTO ISYERITANIM (Isyeri_Kodu, Isyeri_Adi) VALUES (?,?)",
                   {{"01", "Merkez"}, {"02", "Ankara Şube"}});
  db.Execute_Batch(
      "INSERT INTO CARIKART (Cari_Kod, Unvan, O_Kod1, Grup_Kod, Ilce, Sehir, Vergi_Dairesi, ISK) "
      "VALUES (?,?,?,?,?,?,?,?)",
      {{"120.01.001", "Yıldız Market Ltd. Şti.", "A", "MÜŞTERİ", "Kadıköy", "İstanbul", "Kadıköy",
        "5"},
       {"120.01.002", "Ege Toptan Gıda A.Ş.", "B", "MÜŞTERİ", "Bornova", "İzmir", "Bornova", "10"},
       {"320.01.001", "Anadolu Dağıtım A.Ş.", "A", "SATICI", "Çankaya", "Ankara", "Çankaya", ""}});
  db.Execute_Batch("INSERT INTO KASAKART (Kasa_Kod, Kasa_Ad, O_Kod) VALUES (?,?,?)",
                   {{"01", "Merkez Kasa", "TL"}, {"02", "Döviz Kasası", "USD"}});
  db.Execute_Batch("INSERT INTO DOVIZTANIM (Doviz_Kod, Doviz_Ad) VALUES (?,?)",
                   {{"USD", "Amerikan Doları"}, {"EUR", "Euro"}});
  db.Execute_Batch(
      "INSERT INTO HESAPKART (Banka_Ad, Hesap_Ad, Hesap_No, Sube, O_Kod) VALUES (?,?,?,?,?)",
      {{"Ziraat Bankası", "Ticari Hesap", "TR120001", "Kızılay", "TL"},
       {"İş Bankası", "Döviz Hesabı", "TR640006", "Levent", "USD"}});
  db.Execute_Batch("INSERT INTO AMBAR (Ambar_No, Ambar_Ad) VALUES (?,?)",
                   {{"1", "Merkez Depo"}, {"2", "Ankara Depo"}});
  db.Execute_Batch("INSERT INTO SATICI (Satici_Kodu, Satici_Adi) VALUES (?,?)",
                   {{"S01", "Ahmet Yılmaz"}, {"S02", "Ayşe Demir"}});
  db.Execute_Batch(
      "INSERT INTO STOKKART (Stok_Kod, Stok_Ad, KDV, Ana_Birim, Grup_Kod) VALUES (?,?,?,?,?)",
      {{"ST001", "Ayçiçek Yağı 5 L", "20", "ADET", "GIDA"},
       {"ST002", "Pirinç 1 kg", "20", "ADET", "GIDA"}});
}

void Fill_Balances(Connection& db) {
  db.Execute(
      "INSERT INTO MUHBAKIYE (MHesap_ID, Bakiye) SELECT k.MHesap_ID, (SELECT ISNULL(SUM(f.BTutar - "
      "f.ATutar), 0) FROM MUHFISHAR f WHERE f.Ana_Hesap_ID = k.MHesap_ID) FROM MUHKART k WHERE "
      "k.AnaHesaptir = 1");
  db.Execute(
      "INSERT INTO MUHBAKIYE (MHesap_ID, Bakiye) SELECT k.MHesap_ID, (SELECT ISNULL(SUM(f.BTutar - "
      "f.ATutar), 0) FROM MUHFISHAR f WHERE f.MHesap_Kod = k.MHesap_Kod) FROM MUHKART k WHERE "
      "k.AnaHesaptir = 0");
}

// Saves the standard definition of each statement kind into the company, as a user would by
// adding a table and accepting the standard definition.
void Save_Standard_Tables(const QString& folder, const QString& database,
                          const QString& program_folder) {
  struct Table {
    int kind;
    const char* code;
    const char* name;
  };
  const Table tables[] = {{kKindIncomeStatement, "GT", "Gelir Tablosu"},
                          {kKindBalanceSheet, "BL", "Bilanço"}};
  RecordingMessages messages;
  AppState state(messages);
  state.Program_Folder = program_folder;
  state.Db_Connection = std::make_shared<Connection>();
  state.Db_Connection->Open(folder, database, "sa", "", false);
  for (const Table& t : tables) {
    TableDefinition def;
    def.add_flag = true;
    def.code = t.code;
    def.name = t.name;
    def.kind = QString::number(t.kind);
    if (!Load_Standard_Definition(state, t.kind, def) || !Save_Table(state, def))
      throw DbError{kErrStatement, messages.Texts().join(" / ")};
  }
}

// Makes a company database with its year of vouchers; returns the balances the year ends with.
Balances Make_Company(const QString& folder, const QString& database, int year, long long lines,
                      long long scale, uint64_t random_start, const QString& program_folder,
                      const Balances* previous = nullptr, bool closing = false) {
  Create_Company_Database(folder, database);
  Connection db;
  db.Open(folder, database, "sa", "", false);
  std::map<QString, std::pair<int, QString>> accounts;
  Fill_Chart(db, accounts);
  Fill_Lookups(db);
  Ledger ledger(db, accounts, year);
  Random random(random_start);
  Write_Year(ledger, random, year, lines, scale, previous, closing);
  Fill_Balances(db);
  if (!program_folder.isEmpty()) Save_Standard_Tables(folder, database, program_folder);
  // The planner's statistics, as a server gathers them: with them it reads a short period
  // through the ledger index's dates instead of walking every account's lines.
  db.Execute("ANALYZE");
  return ledger.Balances();
}

[[noreturn]] void Cannot_Write(const QString& path) {
  throw std::runtime_error(("Yazılamıyor: " + path).toStdString());
}

}  // namespace

QString Demo_Previous_Year_Database(int year) {
  return QString("%1_%2").arg(kDemoCompany).arg(year - 1);
}

QString Demo_Data_Folder(const QString& suite_folder) {
  return QDir(suite_folder).filePath("Veri");
}

void Create_Company_Database(const QString& folder, const QString& database) {
  Create_Database(folder, database);
  Connection db;
  db.Open(folder, database, "sa", "", false);
  Create_Company_Schema(db);
}

void Create_Demo_Suite(const DemoOptions& options, const std::function<void(const QString&)>& log) {
  auto say = [&](const QString& text) {
    if (log) log(text);
  };
  // The databases go to the server when one is named, else into the suite's data folder.
  QString folder = options.server;
  if (folder.isEmpty()) {
    folder = QDir(Demo_Data_Folder(options.suite_folder)).absolutePath();
    if (!QDir().mkpath(folder)) Cannot_Write(folder);
    for (const QString& f : QDir(folder).entryList({"*.sqlite", "*.sqlite-wal", "*.sqlite-shm"}))
      QFile::remove(QDir(folder).filePath(f));
  } else if (!QDir().mkpath(options.suite_folder)) {
    Cannot_Write(options.suite_folder);
  }

  say("Tanımlama veritabanı hazırlanıyor");
  Create_Database(folder, "Defination_DB");
  {
    Connection db;
    db.Open(folder, "Defination_DB", "sa", "", false);
    Create_Definitions_Schema(db);
    QString start = QDate(options.year, 1, 1).toString("yyyy-MM-dd");
    QString end = QDate(options.year, 12, 31).toString("yyyy-MM-dd");
    QString previous_start = QDate(options.year - 1, 1, 1).toString("yyyy-MM-dd");
    QString previous_end = QDate(options.year - 1, 12, 31).toString("yyyy-MM-dd");
    // Passwords in the encoded form the login compares with.
    db.Execute_Batch("INSERT INTO sysuslng (sysus_ID, sysus_nm, sysus) VALUES (?,?,?)",
                     {{1, "VELORA", Encode_Password("velora")},
                      {2, "MUHASEBE", Encode_Password("muhasebe")}});
    db.Execute_Batch(
        "INSERT INTO sysfrmlng (sysfrm_ID, sysfrm_nm, sysfrm_kd, sysfrm_dbnm, Mali_Yil_Baslangic, "
        "Mali_Yil_Bitis, AnaParaVirgul, KrediLimiti) VALUES (?,?,?,?,?,?,?,?)",
        {{1, "Örnek Ticaret A.Ş.", "001", kDemoCompany, start, end, 2, QVariant()},
         {2, "Anadolu Gıda Ltd. Şti.", "002", kDemoCompany2, start, end, 0, 50000.0},
         {0, "Örnek Ticaret A.Ş.", "001", Demo_Previous_Year_Database(options.year), previous_start,
          previous_end, 2, QVariant()}});
    db.Execute_Batch("INSERT INTO sysusfrmlng (sysus_ID, sysfrm_ID) VALUES (?,?)",
                     {{1, 1}, {1, 2}, {1, 0}, {2, 1}, {2, 2}, {2, 0}});
    db.Execute_Batch("INSERT INTO Kullanici (Firma_ID, Kullanici_ID, CARR, CARB) VALUES (?,?,?,?)",
                     {{1, 1, 1, 1},
                      {1, 2, 1, 1},
                      {2, 1, 1, 1},
                      {2, 2, 0, 0},
                      {0, 1, 1, 1},
                      {0, 2, 1, 1}});
  }
  // The first company's previous year, closed, and the year whose opening voucher it gives. It was
  // registered first, so its company id is the lowest and the company list shows it last.
  const QString previous_year = Demo_Previous_Year_Database(options.year);
  say(QString("%1 hazırlanıyor").arg(previous_year));
  const Balances closed = Make_Company(folder, previous_year, options.year - 1, 0, 1,
                                       Random_Start(0x94D049BB133111EBULL, options.ledger_number),
                                       options.program_folder, nullptr, true);
  say(QString("%1 hazırlanıyor").arg(kDemoCompany));
  Make_Company(folder, kDemoCompany, options.year, options.ledger_lines, 1,
               Random_Start(0x9E3779B97F4A7C15ULL, options.ledger_number), options.program_folder,
               &closed, options.closing);
  say(QString("%1 hazırlanıyor").arg(kDemoCompany2));
  Make_Company(folder, kDemoCompany2, options.year, 0, 3,
               Random_Start(0xD1B54A32D192ED03ULL, options.ledger_number), options.program_folder,
               nullptr, options.closing);

  // sys.inf of the suite: server (the data folder or the server named), SQL login, password;
  // the login's server box stays hidden, so the login connects there.
  QFile inf(QDir(options.suite_folder).filePath("sys.inf"));
  const QString server = Postgres_Server_Without_Password(folder);
  const QByteArray line = Encode_Windows1254(server + ";sa;;;\r\n");
  if (!inf.open(QIODevice::WriteOnly | QIODevice::Truncate) || inf.write(line) != line.size())
    Cannot_Write(inf.fileName());
  say("Demo hazır: " + server);
}
