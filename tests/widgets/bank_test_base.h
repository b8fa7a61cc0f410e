#pragma once

#include "bank_fixture.h"
#include "platform/clock.h"
#include "store/data_module.h"

#include <gtest/gtest.h>

#include <memory>

// A test over a fresh copy of the sample bank, opened through the data module.
class BankTest : public testing::Test {
  protected:
    void SetUp() override {
        folder = Fixtures::makeProgramFolder();
        dm = std::make_unique<TDM1>(folder->path());
        ASSERT_TRUE(dm->ConnectOk);
        DM1 = dm.get();
    }
    void TearDown() override {
        DM1 = nullptr;
        dm.reset();
        folder.reset();
        Clock::clearFixed();
    }

    // A query of its own on the bank's connection, opened.
    std::unique_ptr<Dataset> query(const QString& sql) {
        auto ds = std::make_unique<Dataset>(&dm->ADOCn1);
        ds->setSql(sql);
        ds->open();
        return ds;
    }

    // What the file holds, read through a fresh cursor.
    QVariant stored(const QString& sql, const QString& field) {
        auto ds = query(sql);
        return ds->recNo() > 0 ? ds->value(field) : QVariant();
    }

    std::unique_ptr<Fixtures::ProgramFolder> folder;
    std::unique_ptr<TDM1> dm;
};
