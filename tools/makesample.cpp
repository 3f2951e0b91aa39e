// zelmakesample: writes the sample database of the examples: customers,
// products, orders and order lines, with dates, prices and names in many
// scripts. Every run writes the same rows, so reports and tests built on it
// see the same data everywhere.
//
// Usage: zelmakesample OUT.sqlite
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>
#include <cstdio>

namespace {

// A fixed pseudo-random sequence (a 64-bit linear congruential generator),
// the same on every platform.
class Sequence
{
public:
    explicit Sequence(quint64 seed) : FState(seed) {}
    /// A number from 0 to Bound - 1.
    int Below(int bound)
    {
        FState = FState * 6364136223846793005ull + 1442695040888963407ull;
        return int((FState >> 33) % quint64(bound));
    }

private:
    quint64 FState;
};

const char *const companyNames[] = {
    "Alfreds Futterkiste",     "Ana Trujillo Emparedados", "Antonio Moreno Taquería", "Around the Horn",
    "Berglunds snabbköp",      "Blauer See Delikatessen",  "Blondel père et fils",    "Bólido Comidas preparadas",
    "Bon app'",                "Bottom-Dollar Markets",    "Cactus Comidas para llevar", "Centro comercial Moctezuma",
    "Chop-suey Chinese",       "Comércio Mineiro",         "Consolidated Holdings",   "Drachenblut Delikatessen",
    "Du monde entier",         "Eastern Connection",       "Ernst Handel",            "Familia Arquibaldo",
    "Folies gourmandes",       "Folk och fä HB",           "Frankenversand",          "France restauration",
    "Franchi S.p.A.",          "Furia Bacalhau e Frutos do Mar", "Galería del gastrónomo", "Godos Cocina Típica",
    "Gourmet Lanchonetes",     "Great Lakes Food Market",  "Hanari Carnes",           "Hungry Coyote Import Store",
    "Île de France Épicerie",  "Königlich Essen",          "La maison d'Asie",        "Lehmanns Marktstand",
    "Łódzkie Smaki",           "Magazzini Alimentari Riuniti", "Maison Dewey",         "Morgenstern Gesundkost",
    "Møller & Søn",            "Ñandú Importaciones",      "Océano Atlántico Ltda.",  "Ottilies Käseladen",
    "Paris spécialités",       "Piccolo und mehr",         "Princesa Isabel Vinhos",  "Québec Délices",
    "Rattlesnake Canyon Grocery", "Reggiani Caseifici",    "Richter Supermarkt",      "Santé Gourmet",
    "Simons bistro",           "Škoda Potraviny",          "Suprêmes délices",        "Toms Spezialitäten",
    "Vaffeljernet",            "Wartian Herkku",           "Wolski Zajazd",           "Żabka Delikatesy",
    "Гастроном Москва",        "Σπεσιαλιτέ Αθηνών",        "東京商事",                 "서울 식품",
};

struct Place
{
    const char *city;
    const char *country;
};

const Place places[] = {
    {"Berlin", "Germany"},      {"México D.F.", "Mexico"}, {"London", "UK"},          {"Luleå", "Sweden"},
    {"Mannheim", "Germany"},    {"Strasbourg", "France"},  {"Madrid", "Spain"},       {"Marseille", "France"},
    {"Tsawassen", "Canada"},    {"Buenos Aires", "Argentina"}, {"São Paulo", "Brazil"}, {"Graz", "Austria"},
    {"Kraków", "Poland"},       {"Århus", "Denmark"},      {"Zürich", "Switzerland"}, {"Reykjavík", "Iceland"},
    {"Łódź", "Poland"},         {"Москва", "Russia"},      {"Αθήνα", "Greece"},        {"東京", "Japan"},
    {"서울", "South Korea"},     {"Montréal", "Canada"},    {"Helsinki", "Finland"},   {"Torino", "Italy"},
};

struct Product
{
    const char *name;
    const char *category;
    int cents;
};

const Product products[] = {
    {"Chai", "Beverages", 1800},                   {"Chang", "Beverages", 1900},
    {"Aniseed Syrup", "Condiments", 1000},         {"Chef Anton's Cajun Seasoning", "Condiments", 2200},
    {"Grandma's Boysenberry Spread", "Condiments", 2500}, {"Uncle Bob's Organic Dried Pears", "Produce", 3000},
    {"Northwoods Cranberry Sauce", "Condiments", 4000},   {"Mishi Kobe Niku", "Meat/Poultry", 9700},
    {"Ikura", "Seafood", 3100},                    {"Queso Cabrales", "Dairy Products", 2100},
    {"Queso Manchego La Pastora", "Dairy Products", 3800}, {"Konbu", "Seafood", 600},
    {"Tofu", "Produce", 2325},                     {"Genen Shouyu", "Condiments", 1550},
    {"Pavlova", "Confections", 1745},              {"Alice Mutton", "Meat/Poultry", 3900},
    {"Carnarvon Tigers", "Seafood", 6250},         {"Teatime Chocolate Biscuits", "Confections", 920},
    {"Sir Rodney's Marmalade", "Confections", 8100}, {"Gustaf's Knäckebröd", "Grains/Cereals", 2100},
    {"Tunnbröd", "Grains/Cereals", 900},           {"Guaraná Fantástica", "Beverages", 450},
    {"NuNuCa Nuß-Nougat-Creme", "Confections", 1400}, {"Gumbär Gummibärchen", "Confections", 3123},
    {"Schoggi Schokolade", "Confections", 4390},   {"Rössle Sauerkraut", "Produce", 4560},
    {"Thüringer Rostbratwurst", "Meat/Poultry", 12379}, {"Nord-Ost Matjeshering", "Seafood", 2589},
    {"Gorgonzola Telino", "Dairy Products", 1250},  {"Mascarpone Fabioli", "Dairy Products", 3200},
    {"Geitost", "Dairy Products", 250},            {"Sasquatch Ale", "Beverages", 1400},
    {"Steeleye Stout", "Beverages", 1800},         {"Inlagd Sill", "Seafood", 1900},
    {"Gravad lax", "Seafood", 2600},               {"Côte de Blaye", "Beverages", 26350},
    {"Chartreuse verte", "Beverages", 1800},       {"Boston Crab Meat", "Seafood", 1840},
    {"Jack's New England Clam Chowder", "Seafood", 965}, {"Pâté chinois", "Meat/Poultry", 2400},
};

const char *const statuses[] = {"shipped", "shipped", "shipped", "invoiced", "open", "cancelled"};

bool run(QSqlQuery &q, const QString &sql)
{
    if (q.exec(sql))
        return true;
    std::fprintf(stderr, "zelmakesample: %s\n  in: %s\n", qUtf8Printable(q.lastError().text()), qUtf8Printable(sql));
    return false;
}

bool execPrepared(QSqlQuery &q)
{
    if (q.exec())
        return true;
    std::fprintf(stderr, "zelmakesample: %s\n", qUtf8Printable(q.lastError().text()));
    return false;
}

QString isoDate(const QDate &date)
{
    return date.toString(Qt::ISODate);
}

// Money as a number of two decimals.
double money(int cents)
{
    return cents / 100.0;
}

bool fill(QSqlDatabase &db)
{
    QSqlQuery q(db);
    const QStringList schema = {
        "CREATE TABLE customers (id INTEGER PRIMARY KEY, name TEXT NOT NULL, city TEXT, country TEXT, "
        "email TEXT, since DATE)",
        "CREATE TABLE products (id INTEGER PRIMARY KEY, name TEXT NOT NULL, category TEXT, price NUMERIC(10,2))",
        "CREATE TABLE orders (id INTEGER PRIMARY KEY, customer_id INTEGER NOT NULL REFERENCES customers(id), "
        "order_date DATE NOT NULL, shipped_date DATE, status TEXT)",
        "CREATE TABLE order_lines (order_id INTEGER NOT NULL REFERENCES orders(id), line_no INTEGER NOT NULL, "
        "product_id INTEGER NOT NULL REFERENCES products(id), quantity INTEGER NOT NULL, "
        "unit_price NUMERIC(10,2) NOT NULL, discount REAL NOT NULL, PRIMARY KEY (order_id, line_no))",
        "CREATE INDEX orders_customer ON orders(customer_id)",
    };
    for (const QString &sql : schema)
        if (!run(q, sql))
            return false;

    Sequence seq(20240229);
    const QDate epoch(2019, 1, 1);

    q.prepare("INSERT INTO customers VALUES (?, ?, ?, ?, ?, ?)");
    const int customerCount = int(std::size(companyNames));
    for (int i = 0; i < customerCount; ++i) {
        const Place &place = places[seq.Below(int(std::size(places)))];
        q.addBindValue(i + 1);
        q.addBindValue(QString::fromUtf8(companyNames[i]));
        q.addBindValue(QString::fromUtf8(place.city));
        q.addBindValue(QString::fromUtf8(place.country));
        // Every fifth customer left no address.
        q.addBindValue(i % 5 == 4 ? QVariant() : QVariant(QStringLiteral("contact%1@example.com").arg(i + 1)));
        q.addBindValue(isoDate(epoch.addDays(-seq.Below(2000))));
        if (!execPrepared(q))
            return false;
    }

    q.prepare("INSERT INTO products VALUES (?, ?, ?, ?)");
    const int productCount = int(std::size(products));
    for (int i = 0; i < productCount; ++i) {
        q.addBindValue(i + 1);
        q.addBindValue(QString::fromUtf8(products[i].name));
        q.addBindValue(QString::fromUtf8(products[i].category));
        q.addBindValue(money(products[i].cents));
        if (!execPrepared(q))
            return false;
    }

    QSqlQuery line(db);
    line.prepare("INSERT INTO order_lines VALUES (?, ?, ?, ?, ?, ?)");
    q.prepare("INSERT INTO orders VALUES (?, ?, ?, ?, ?)");
    const int orderCount = 320;
    for (int i = 0; i < orderCount; ++i) {
        const QDate ordered = epoch.addDays(i * 4 + seq.Below(4));
        const QString status = QString::fromLatin1(statuses[seq.Below(int(std::size(statuses)))]);
        const bool shipped = status == QLatin1StringView("shipped") || status == QLatin1StringView("invoiced");
        q.addBindValue(10248 + i);
        q.addBindValue(1 + seq.Below(customerCount));
        q.addBindValue(isoDate(ordered));
        q.addBindValue(shipped ? QVariant(isoDate(ordered.addDays(1 + seq.Below(14)))) : QVariant());
        q.addBindValue(status);
        if (!execPrepared(q))
            return false;

        const int lines = 1 + seq.Below(5);
        for (int n = 1; n <= lines; ++n) {
            const int product = seq.Below(productCount);
            static const double discounts[] = {0, 0, 0, 0.05, 0.1, 0.15, 0.2, 0.25};
            line.addBindValue(10248 + i);
            line.addBindValue(n);
            line.addBindValue(product + 1);
            line.addBindValue(1 + seq.Below(60));
            line.addBindValue(money(products[product].cents));
            line.addBindValue(discounts[seq.Below(int(std::size(discounts)))]);
            if (!execPrepared(line))
                return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "Usage: zelmakesample OUT.sqlite\n");
        return 2;
    }
    const QString target = QFileInfo(args.at(1)).absoluteFilePath();
    const QString partial = target + QStringLiteral(".tmp");
    QDir().mkpath(QFileInfo(target).absolutePath());
    QFile::remove(partial);

    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("sample"));
        db.setDatabaseName(partial);
        if (!db.open()) {
            std::fprintf(stderr, "zelmakesample: %s\n", qUtf8Printable(db.lastError().text()));
        } else {
            db.transaction();
            ok = fill(db);
            ok = ok && db.commit();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("sample"));
    // The old file goes only when the new one is complete.
    if (!ok || (QFile::exists(target) && !QFile::remove(target)) || !QFile::rename(partial, target)) {
        QFile::remove(partial);
        std::fprintf(stderr, "zelmakesample: cannot write %s\n", qUtf8Printable(target));
        return 1;
    }
    return 0;
}
