#include "sample_data.h"

#include <array>
#include <cstdio>

namespace samplegen {
namespace {

struct Customer {
  const char* company;
  const char* contact;
  const char* city;
  const char* country;
  const char* phone;
  const char* since;
  bool active;
};

constexpr std::array<Customer, 10> kCustomers{{
    {"Alfreds Futterkiste", "Maria Anders", "Berlin", "Germany", "030-0074321", "2019-03-14", true},
    {"Bólido Comidas preparadas", "Martín Sommer", "Madrid", "Spain", "(91) 555 22 82", "2020-07-01", true},
    {"Du monde entier", "Janine Labrune", "Nantes", "France", "40.67.88.88", "2018-11-23", false},
    {"Great Lakes Food Market", "Howard Snyder", "Eugene", "USA", "(503) 555-7555", "2021-01-05", true},
    {"Hungry Owl All-Night Grocers", "Patricia McKenna", "Cork", "Ireland", "2967 542", "2017-05-30", true},
    {"Königlich Essen", "Philip Cramer", "Brandenburg", "Germany", "0555-09876", "2022-02-17", true},
    {"North/South", "Simon Crowther", "London", "UK", "(171) 555-7733", "2016-09-09", false},
    {"Piccolo und mehr", "Georg Pipps", "Salzburg", "Austria", "6562-9722", "2020-12-12", true},
    {"Santé Gourmet", "Jonas Bergulfsen", "Stavern", "Norway", "07-98 92 35", "2023-04-03", true},
    {"Wolski Zajazd", "Zbyszek Piestrzeniewicz", "Warszawa", "Poland", "(26) 642-7012", "2019-08-19", true},
}};

struct Product {
  const char* name;
  const char* price;
};

constexpr std::array<Product, 8> kProducts{{
    {"Chai", "18.00"},
    {"Aniseed Syrup", "10.00"},
    {"Gumbo Mix", "21.35"},
    {"Grandma's Boysenberry Spread", "25.00"},
    {"Mozzarella di Giovanni", "34.80"},
    {"Tofu", "23.25"},
    {"Gnocchi di nonna Alice", "38.00"},
    {"Röd Kaviar", "15.00"},
}};

constexpr std::array<const char*, 4> kNotes{
    "Deliver to the back entrance.",
    "Customer asked for an invoice in two copies; one goes to the accounts department, "
    "the other with the goods.",
    "",
    "Call before delivery.\r\nThe loading dock closes at 4 pm.",
};

std::string quoted(const std::string& text) {
  std::string out = "'";
  for (char c : text) {
    if (c == '\'') out += '\'';
    out += c;
  }
  return out + "'";
}

std::string number(long value) {
  return quoted(std::to_string(value));
}

// Order dates spread over the first half of 2024, times of day included.
std::string orderDate(int order) {
  char text[32];
  std::snprintf(text, sizeof text, "'2024-%02d-%02d %02d:%02d:00'", 1 + order % 6, 1 + (order * 7) % 28,
                8 + order % 9, (order * 13) % 60);
  return text;
}

std::string shippedDate(int order) {
  if (order % 5 == 4) return "NULL";  // not shipped yet
  char text[32];
  std::snprintf(text, sizeof text, "'2024-%02d-%02d'", 1 + order % 6, 3 + (order * 7) % 26);
  return text;
}

}  // namespace

std::vector<std::string> sampleStatements() {
  std::vector<std::string> s{
      "CREATE TABLE `Customers`(`CustomerID` COUNTER,`CompanyName` TEXT(60),`ContactName` TEXT(40),"
      "`City` TEXT(30),`Country` TEXT(30),`Phone` TEXT(24),`CustomerSince` DATETIME,`Active` BIT);",
      "CREATE TABLE `Orders`(`OrderID` COUNTER,`CustomerID` INT,`OrderDate` DATETIME,"
      "`ShippedDate` DATETIME,`Freight` CURRENCY,`Paid` BIT,`Notes` MEMO);",
      "CREATE TABLE `Order Details`(`OrderID` INT,`Product` TEXT(50),`UnitPrice` CURRENCY,"
      "`Quantity` SMALLINT,`Discount` REAL);",
      "CREATE TABLE `Returns`(`ReturnID` COUNTER,`OrderID` INT,`Reason` TEXT(255),"
      "`ReturnDate` DATETIME,`Refunded` BIT,`Amount` CURRENCY);",
  };
  for (const Customer& c : kCustomers)
    s.push_back("INSERT INTO `Customers` VALUES(NULL, " + quoted(c.company) + ", " + quoted(c.contact) +
                ", " + quoted(c.city) + ", " + quoted(c.country) + ", " + quoted(c.phone) + ", " +
                quoted(c.since) + ", " + (c.active ? "'True'" : "'False'") + ")");
  constexpr int kOrders = 24;
  for (int order = 0; order < kOrders; ++order) {
    const long freightCents = 450 + (order * 3719) % 12000;
    const std::string freight = std::to_string(freightCents / 100) + "." +
                                std::to_string(freightCents % 100 / 10) + std::to_string(freightCents % 10);
    const char* note = kNotes[static_cast<std::size_t>(order) % kNotes.size()];
    s.push_back("INSERT INTO `Orders` VALUES(NULL, " + number(1 + (order * 3) % 10) + ", " +
                orderDate(order) + ", " + shippedDate(order) + ", '" + freight + "', " +
                (order % 3 == 0 ? "'No'" : "'Yes'") + ", " + (*note ? quoted(note) : "NULL") + ")");
    for (int line = 0; line < 1 + order % 3; ++line) {
      const Product& p = kProducts[static_cast<std::size_t>(order + 3 * line) % kProducts.size()];
      s.push_back("INSERT INTO `Order Details` VALUES(" + number(order + 1) + ", " + quoted(p.name) + ", '" +
                  p.price + "', " + number(1 + (order * 5 + line * 11) % 40) + ", " +
                  (line == 1 ? "'0.05'" : "'0'") + ")");
    }
  }
  return s;
}

}  // namespace samplegen
