<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>LanguageInstaller</name>
    <message>
        <source>Chinese was chosen, but its translation %1 could not be loaded: the program is shown in English.</source>
        <translation>已选择中文，但无法加载其翻译文件 %1：程序以英文显示。</translation>
    </message>
</context>
<context>
    <name>CurveChart</name>
    <message>
        <source>Insulation resistance</source>
        <translation>绝缘电阻</translation>
    </message>
    <message>
        <source>Beyond the range (a lower bound)</source>
        <translation>超出量程（下限值）</translation>
    </message>
    <message>
        <source>Test time (s)</source>
        <translation>测试时间（秒）</translation>
    </message>
</context>
<context>
    <name>CurvePlot</name>
    <message>
        <source>Resistance</source>
        <translation>电阻</translation>
    </message>
    <message>
        <source>Leakage current</source>
        <translation>泄漏电流</translation>
    </message>
    <message>
        <source>Test time (s)</source>
        <translation>测试时间（秒）</translation>
    </message>
    <message>
        <source>Leakage current (µA)</source>
        <translation>泄漏电流（µA）</translation>
    </message>
    <message>
        <source>Expected</source>
        <translation>预计</translation>
    </message>
</context>
<context>
    <name>DetailsText</name>
    <message>
        <source>Rotating machine</source>
        <translation>旋转电机</translation>
    </message>
    <message>
        <source>Transformer</source>
        <translation>变压器</translation>
    </message>
    <message>
        <source>Cable</source>
        <translation>电缆</translation>
    </message>
    <message>
        <source>Other</source>
        <translation>其他</translation>
    </message>
    <message>
        <source>Form-wound, built after about 1970</source>
        <translation>成型绕组（约 1970 年以后制造）</translation>
    </message>
    <message>
        <source>Random-wound, or below 1 kV</source>
        <translation>散嵌绕组，或低于 1 kV</translation>
    </message>
    <message>
        <source>Older, or a field winding</source>
        <translation>较旧绕组，或励磁绕组</translation>
    </message>
    <message>
        <source>not given</source>
        <translation>未提供</translation>
    </message>
    <message>
        <source>Solid (dry-type, cable)</source>
        <translation>固体（干式变压器、电缆）</translation>
    </message>
    <message>
        <source>Oil-immersed</source>
        <translation>油浸</translation>
    </message>
    <message>
        <source>Halving formula</source>
        <translation>减半公式</translation>
    </message>
    <message>
        <source>Standard</source>
        <translation>标准方法</translation>
    </message>
</context>
<context>
    <name>DlgEquipment</name>
    <message>
        <source>Equipment item</source>
        <translation>设备</translation>
    </message>
    <message>
        <source>Tag</source>
        <translation>编号</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>描述</translation>
    </message>
    <message>
        <source>Site</source>
        <translation>厂区</translation>
    </message>
    <message>
        <source>Location</source>
        <translation>位置</translation>
    </message>
    <message>
        <source>Kind</source>
        <translation>类型</translation>
    </message>
    <message>
        <source>Rated voltage</source>
        <translation>额定电压</translation>
    </message>
    <message>
        <source> kV</source>
        <translation> kV</translation>
    </message>
    <message>
        <source>not given</source>
        <translation>未提供</translation>
    </message>
    <message>
        <source>Insulation class</source>
        <translation>绝缘等级</translation>
    </message>
    <message>
        <source>Winding</source>
        <translation>绕组</translation>
    </message>
    <message>
        <source>Base temperature</source>
        <translation>基准温度</translation>
    </message>
    <message>
        <source> °C</source>
        <translation> °C</translation>
    </message>
    <message>
        <source>kind&apos;s default</source>
        <translation>按类型默认</translation>
    </message>
    <message>
        <source>Notes</source>
        <translation>备注</translation>
    </message>
    <message>
        <source>New item of the register</source>
        <translation>登记册新设备</translation>
    </message>
    <message>
        <source>Item %1</source>
        <translation>设备 %1</translation>
    </message>
    <message>
        <source>Insulation medium</source>
        <translation>绝缘介质</translation>
    </message>
    <message>
        <source>Maker&apos;s minimum IR</source>
        <translation>制造商最低绝缘电阻</translation>
    </message>
    <message>
        <source> MΩ</source>
        <translation> MΩ</translation>
    </message>
    <message>
        <source>at</source>
        <translation>基准温度</translation>
    </message>
    <message>
        <source>Maker&apos;s minimum PI</source>
        <translation>制造商最低极化指数</translation>
    </message>
</context>
<context>
    <name>DlgHistory</name>
    <message>
        <source>History</source>
        <translation>历史记录</translation>
    </message>
    <message>
        <source>From</source>
        <translation>从</translation>
    </message>
    <message>
        <source>yyyy-MM-dd</source>
        <translation>yyyy-MM-dd</translation>
    </message>
    <message>
        <source>To</source>
        <translation>到</translation>
    </message>
    <message>
        <source>All dates</source>
        <translation>所有日期</translation>
    </message>
    <message>
        <source>Started</source>
        <translation>开始时间</translation>
    </message>
    <message>
        <source>Duration</source>
        <translation>时长</translation>
    </message>
    <message>
        <source>Meter</source>
        <translation>仪表</translation>
    </message>
    <message>
        <source>Live</source>
        <translation>实时</translation>
    </message>
    <message>
        <source>Stored</source>
        <translation>存储</translation>
    </message>
    <message>
        <source>Readings by mode</source>
        <translation>各模式读数</translation>
    </message>
    <message>
        <source>End</source>
        <translation>结束</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>打开</translation>
    </message>
    <message>
        <source>Export...</source>
        <translation>导出...</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>running</source>
        <translation>进行中</translation>
    </message>
    <message>
        <source>closed</source>
        <translation>正常结束</translation>
    </message>
    <message>
        <source>cut short</source>
        <translation>意外中断</translation>
    </message>
    <message>
        <source>The session could not be opened.</source>
        <translation>无法打开该会话。</translation>
    </message>
    <message>
        <source>Export the session into</source>
        <translation>将会话导出到</translation>
    </message>
    <message>
        <source>%1 already holds %2.
Do you want to replace them?</source>
        <translation>%1 中已有 %2。
是否替换？</translation>
    </message>
    <message>
        <source>The session is exported.</source>
        <translation>会话已导出。</translation>
    </message>
    <message>
        <source>The session could not be exported.</source>
        <translation>无法导出该会话。</translation>
    </message>
    <message>
        <source>Delete the session started %1, with all its readings?
This cannot be undone.</source>
        <translation>删除开始于 %1 的会话及其全部读数？
此操作无法撤销。</translation>
    </message>
    <message>
        <source>The session could not be deleted.</source>
        <translation>无法删除该会话。</translation>
    </message>
    <message>
        <source>A session is being recorded: its readings and the opened session&apos;s would mix in the tables. Stop the meter to open a session.</source>
        <translation>正在记录一个会话：其读数会与打开的会话在表格中混在一起。请先停止仪表再打开会话。</translation>
    </message>
    <message>
        <source>This session is being recorded. Stop the meter to delete it.</source>
        <translation>此会话正在记录中。请先停止仪表再删除。</translation>
    </message>
    <message>
        <source>%1 and %2</source>
        <translation>%1和%2</translation>
    </message>
    <message>
        <source>, </source>
        <translation>、</translation>
    </message>
    <message>
        <source>1 test of %1 will leave its trend and reports.</source>
        <translation>%1 的 1 项测试将从其趋势和报告中移除。</translation>
    </message>
    <message>
        <source>%1 tests of %2 will leave their trends and reports.</source>
        <translation>%2 的 %1 项测试将从其趋势和报告中移除。</translation>
    </message>
</context>
<context>
    <name>DlgOption</name>
    <message>
        <source>Dialog</source>
        <translation>对话框</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>语言</translation>
    </message>
    <message>
        <source>Sample Points</source>
        <translation>采样点数</translation>
    </message>
    <message>
        <source>Infinite</source>
        <translation>无限制</translation>
    </message>
    <message>
        <source>Sample Interval</source>
        <translation>采样间隔</translation>
    </message>
    <message>
        <source> ms</source>
        <translation> 毫秒</translation>
    </message>
    <message>
        <source>Record data only at test time</source>
        <translation>仅在测试时记录数据</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Team server…</source>
        <translation>团队服务器…</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>DlgReportOptions</name>
    <message>
        <source>Report options</source>
        <translation>报告选项</translation>
    </message>
    <message>
        <source>Company</source>
        <translation>公司</translation>
    </message>
    <message>
        <source>Logo</source>
        <translation>标志</translation>
    </message>
    <message>
        <source>Choose...</source>
        <translation>选择...</translation>
    </message>
    <message>
        <source>Technician</source>
        <translation>技术员</translation>
    </message>
    <message>
        <source>the tests&apos; operator</source>
        <translation>测试的操作员</translation>
    </message>
    <message>
        <source>Paper</source>
        <translation>纸张</translation>
    </message>
    <message>
        <source>As the language and country have it (%1)</source>
        <translation>按语言和国家/地区（%1）</translation>
    </message>
    <message>
        <source>Letter</source>
        <translation>Letter</translation>
    </message>
    <message>
        <source>A4</source>
        <translation>A4</translation>
    </message>
    <message>
        <source>The company&apos;s logo</source>
        <translation>公司标志</translation>
    </message>
    <message>
        <source>Images (*.png *.jpg *.jpeg *.bmp *.svg)</source>
        <translation>图像 (*.png *.jpg *.jpeg *.bmp *.svg)</translation>
    </message>
</context>
<context>
    <name>DlgSyncOptions</name>
    <message>
        <source>Team server</source>
        <translation>团队服务器</translation>
    </message>
    <message>
        <source>Share tests and the register through a team server</source>
        <translation>通过团队服务器共享试验和设备台账</translation>
    </message>
    <message>
        <source>Host</source>
        <translation>主机</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>端口</translation>
    </message>
    <message>
        <source>Database</source>
        <translation>数据库</translation>
    </message>
    <message>
        <source>User</source>
        <translation>用户</translation>
    </message>
    <message>
        <source>Service (optional)</source>
        <translation>服务（可选）</translation>
    </message>
    <message>
        <source>TLS</source>
        <translation>TLS</translation>
    </message>
    <message>
        <source>If the server offers it</source>
        <translation>服务器提供时使用</translation>
    </message>
    <message>
        <source>Never</source>
        <translation>从不</translation>
    </message>
    <message>
        <source>Always, without checking the server</source>
        <translation>始终使用，不验证服务器</translation>
    </message>
    <message>
        <source>Always, and verify the server&apos;s certificate</source>
        <translation>始终使用，并验证服务器证书</translation>
    </message>
    <message>
        <source>The password is never stored here: it is taken from libpq&apos;s password file (~/.pgpass) or service file, or asked once each time Tessra runs.</source>
        <translation>密码从不保存在这里：它取自 libpq 的密码文件（~/.pgpass）或服务文件，否则在每次运行 Tessra 时询问一次。</translation>
    </message>
    <message>
        <source>Connection</source>
        <translation>连接</translation>
    </message>
    <message>
        <source>Encrypted, and the server checked (recommended)</source>
        <translation>加密，并核验服务器（推荐）</translation>
    </message>
    <message>
        <source>Encrypted, but any server accepted</source>
        <translation>加密，但接受任何服务器</translation>
    </message>
    <message>
        <source>Encrypted only if the server offers it, any server accepted</source>
        <translation>仅在服务器提供时加密，接受任何服务器</translation>
    </message>
    <message>
        <source>Not encrypted</source>
        <translation>不加密</translation>
    </message>
    <message>
        <source>The server is checked against your department&apos;s root certificate, which Tessra looks for in %1; it is not there yet.</source>
        <translation>服务器将以贵部门的根证书核验，Tessra 在 %1 查找该证书；目前尚未找到。</translation>
    </message>
    <message>
        <source>Warning: Tessra does not check that it talks to your team&apos;s server. Anyone who can redirect the connection can pose as the server and receive every test and the password.</source>
        <translation>警告：Tessra 不核验对方是否为贵团队的服务器。任何能够转接连接的人都可以冒充服务器，收到每项测试和密码。</translation>
    </message>
    <message>
        <source>Warning: if the server offers no encryption, everything goes over the network as plain text, the password included, and Tessra does not check that it talks to your team&apos;s server.</source>
        <translation>警告：如果服务器不提供加密，所有内容（包括密码）都以明文在网络上传输，并且 Tessra 不核验对方是否为贵团队的服务器。</translation>
    </message>
    <message>
        <source>Warning: everything goes over the network as plain text, the password included.</source>
        <translation>警告：所有内容（包括密码）都以明文在网络上传输。</translation>
    </message>
</context>
<context>
    <name>EquipmentStore</name>
    <message>
        <source>An item needs a tag.</source>
        <translation>设备需要编号。</translation>
    </message>
    <message>
        <source>The tag %1 is already in the register.</source>
        <translation>编号 %1 已在登记册中。</translation>
    </message>
</context>
<context>
    <name>EquipmentWindow</name>
    <message>
        <source>Equipment</source>
        <translation>设备</translation>
    </message>
    <message>
        <source>Tag</source>
        <translation>编号</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>描述</translation>
    </message>
    <message>
        <source>Site</source>
        <translation>厂区</translation>
    </message>
    <message>
        <source>Location</source>
        <translation>位置</translation>
    </message>
    <message>
        <source>Kind</source>
        <translation>类型</translation>
    </message>
    <message>
        <source>Rated voltage</source>
        <translation>额定电压</translation>
    </message>
    <message>
        <source>Tests</source>
        <translation>测试</translation>
    </message>
    <message>
        <source>New...</source>
        <translation>新建...</translation>
    </message>
    <message>
        <source>Edit...</source>
        <translation>编辑...</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>Export as CSV...</source>
        <translation>导出为 CSV...</translation>
    </message>
    <message>
        <source>Report options...</source>
        <translation>报告选项...</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>时间</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>模式</translation>
    </message>
    <message>
        <source>IR1min</source>
        <translation>IR1min</translation>
    </message>
    <message>
        <source>PI</source>
        <translation>PI</translation>
    </message>
    <message>
        <source>Temperature</source>
        <translation>温度</translation>
    </message>
    <message>
        <source>Verdict</source>
        <translation>结论</translation>
    </message>
    <message>
        <source>From</source>
        <translation>从</translation>
    </message>
    <message>
        <source>yyyy-MM-dd</source>
        <translation>yyyy-MM-dd</translation>
    </message>
    <message>
        <source>To</source>
        <translation>到</translation>
    </message>
    <message>
        <source>All dates</source>
        <translation>全部日期</translation>
    </message>
    <message>
        <source>Report...</source>
        <translation>报告...</translation>
    </message>
    <message>
        <source>The register is empty: New... adds an item, and the tests whose details name a tag join it.</source>
        <translation>登记册为空：“新建...”可添加设备，详细信息中填写了编号的测试会归入该设备。</translation>
    </message>
    <message>
        <source>IR1min %1</source>
        <translation>IR1min %1</translation>
    </message>
    <message>
        <source>PI %1</source>
        <translation>PI %1</translation>
    </message>
    <message>
        <source>temperature %1</source>
        <translation>温度 %1</translation>
    </message>
    <message>
        <source>Delete %1 from the register?
Its tests are kept, and name it still.</source>
        <translation>要从登记册中删除 %1 吗？
其测试会保留，并仍然标注该编号。</translation>
    </message>
    <message>
        <source>Test point</source>
        <translation>测试点</translation>
    </message>
    <message>
        <source>No.</source>
        <translation>序号</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>日期</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <translation>%1，%2</translation>
    </message>
</context>
<context>
    <name>ItemSection</name>
    <message>
        <source>Kind</source>
        <translation>类型</translation>
    </message>
    <message>
        <source>Rated voltage</source>
        <translation>额定电压</translation>
    </message>
    <message>
        <source>Insulation class</source>
        <translation>绝缘等级</translation>
    </message>
    <message>
        <source>Winding type</source>
        <translation>绕组类型</translation>
    </message>
    <message>
        <source>Base temperature</source>
        <translation>基准温度</translation>
    </message>
    <message>
        <source>Tag</source>
        <translation>编号</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>描述</translation>
    </message>
    <message>
        <source>Site</source>
        <translation>厂区</translation>
    </message>
    <message>
        <source>Location</source>
        <translation>位置</translation>
    </message>
    <message>
        <source>Equipment</source>
        <translation>设备</translation>
    </message>
    <message>
        <source>not given</source>
        <translation>未提供</translation>
    </message>
    <message>
        <source>Equipment under test</source>
        <translation>被测设备</translation>
    </message>
    <message>
        <source>Notes</source>
        <translation>备注</translation>
    </message>
    <message>
        <source>Insulation test report</source>
        <translation>绝缘测试报告</translation>
    </message>
    <message>
        <source>Insulation tests of %1</source>
        <translation>%1 的绝缘测试</translation>
    </message>
    <message>
        <source>Insulation tests</source>
        <translation>绝缘测试</translation>
    </message>
    <message>
        <source>From %1 to %2</source>
        <translation>从 %1 到 %2</translation>
    </message>
    <message>
        <source>From %1</source>
        <translation>自 %1 起</translation>
    </message>
    <message>
        <source>Up to %1</source>
        <translation>截至 %1</translation>
    </message>
    <message>
        <source>Tests reported: %1</source>
        <translation>报告测试数：%1</translation>
    </message>
    <message>
        <source>%1 (the kind&apos;s default)</source>
        <translation>%1（按类型默认）</translation>
    </message>
</context>
<context>
    <name>JournalDatabase</name>
    <message>
        <source>It is no file.</source>
        <translation>它不是文件。</translation>
    </message>
    <message>
        <source>It is not a database.</source>
        <translation>它不是数据库。</translation>
    </message>
    <message>
        <source>It cannot be read.</source>
        <translation>无法读取它。</translation>
    </message>
    <message>
        <source>Qt&apos;s SQLite driver is not installed.</source>
        <translation>未安装 Qt 的 SQLite 驱动。</translation>
    </message>
    <message>
        <source>It is damaged or not a database: %1</source>
        <translation>它已损坏或不是数据库：%1</translation>
    </message>
    <message>
        <source>It holds what Tessra did not make (%1); it was left as it is.</source>
        <translation>其中有不是 Tessra 建立的内容（%1）；文件保持原样。</translation>
    </message>
    <message>
        <source>It can only be read: the file, or the folder it is in, cannot be written.</source>
        <translation>它只能读取：文件或其所在的文件夹不可写入。</translation>
    </message>
</context>
<context>
    <name>JournalSchema</name>
    <message>
        <source>It is a database, but not a Tessra journal.</source>
        <translation>它是数据库，但不是 Tessra 日志。</translation>
    </message>
    <message>
        <source>It was written by a newer version of Tessra (journal schema %1); this version reads journals up to schema %2.</source>
        <translation>它由较新版本的 Tessra 写入（日志结构 %1）；此版本只能读取结构 %2 及以下的日志。</translation>
    </message>
    <message>
        <source>Its tables could not be brought up to date: %1</source>
        <translation>无法更新其数据表：%1</translation>
    </message>
    <message>
        <source>It can only be read, and was written by an older version of Tessra (journal schema %1); opened once where it can be written, it is brought up to date.</source>
        <translation>它只能读取，且由较旧版本的 Tessra 写入（日志结构 %1）；在可写入的位置打开一次，即会更新到最新。</translation>
    </message>
</context>
<context>
    <name>PageFrame</name>
    <message>
        <source>Page %1 of %2</source>
        <translation>第 %1 页，共 %2 页</translation>
    </message>
    <message>
        <source>Report date: %1</source>
        <translation>报告日期：%1</translation>
    </message>
    <message>
        <source>Technician: %1</source>
        <translation>技术员：%1</translation>
    </message>
</context>
<context>
    <name>PiPrediction</name>
    <message>
        <source>too early in the test</source>
        <translation>测试刚开始，为时尚早</translation>
    </message>
    <message>
        <source>the resistance collapsed: the insulation broke down</source>
        <translation>电阻骤降：绝缘已击穿</translation>
    </message>
    <message>
        <source>the resistance is beyond the meter&apos;s range</source>
        <translation>电阻超出仪表量程</translation>
    </message>
    <message>
        <source>the readings jump</source>
        <translation>读数跳变</translation>
    </message>
    <message>
        <source>the resistance falls too fast</source>
        <translation>电阻下降过快</translation>
    </message>
    <message>
        <source>the curve does not follow charging insulation</source>
        <translation>曲线不符合绝缘充电规律</translation>
    </message>
    <message>
        <source>the band would be too wide (PI %1 to %2)</source>
        <translation>预测区间过宽（PI %1 至 %2）</translation>
    </message>
    <message>
        <source>the band would be too wide</source>
        <translation>预测区间过宽</translation>
    </message>
</context>
<context>
    <name>PredictionText</name>
    <message>
        <source>PI at 10 min: not yet predictable (%1)</source>
        <translation>10 分钟 PI：尚无法预测（%1）</translation>
    </message>
    <message>
        <source>PI at 10 min: %1 expected (%2)</source>
        <translation>10 分钟 PI：预计 %1（%2）</translation>
    </message>
    <message>
        <source>PI at 10 min: not yet predictable</source>
        <translation>10 分钟 PI：尚无法预测</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1 秒</translation>
    </message>
    <message>
        <source>%1 min</source>
        <translation>%1 分钟</translation>
    </message>
    <message>
        <source>%1 min %2 s</source>
        <translation>%1 分 %2 秒</translation>
    </message>
    <message>
        <source>not yet predictable (%1)</source>
        <translation>尚无法预测（%1）</translation>
    </message>
    <message>
        <source>within the band</source>
        <translation>在区间内</translation>
    </message>
    <message>
        <source>outside the band</source>
        <translation>超出区间</translation>
    </message>
</context>
<context>
    <name>QProgressDialog</name>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>ReasonText</name>
    <message>
        <source>beyond the range</source>
        <translation>超出量程</translation>
    </message>
    <message>
        <source>%1 MΩ</source>
        <translation>%1 MΩ</translation>
    </message>
    <message>
        <source>%1 °C</source>
        <translation>%1 °C</translation>
    </message>
    <message>
        <source>%1 V</source>
        <translation>%1 V</translation>
    </message>
    <message>
        <source>%1 kV</source>
        <translation>%1 kV</translation>
    </message>
</context>
<context>
    <name>ReportBody</name>
    <message>
        <source>The item has no tests in this period.</source>
        <translation>该设备在此期间没有测试。</translation>
    </message>
    <message>
        <source>There are no tests to report.</source>
        <translation>没有可报告的测试。</translation>
    </message>
</context>
<context>
    <name>ReportSource</name>
    <message>
        <source>The journal has no test %1.</source>
        <translation>日志中没有测试 %1。</translation>
    </message>
    <message>
        <source>The register has no item %1.</source>
        <translation>登记册中没有设备 %1。</translation>
    </message>
</context>
<context>
    <name>ReportText</name>
    <message>
        <source>%1 s</source>
        <translation>%1 秒</translation>
    </message>
    <message>
        <source>%1 min</source>
        <translation>%1 分钟</translation>
    </message>
    <message>
        <source>%1 min %2 s</source>
        <translation>%1 分 %2 秒</translation>
    </message>
    <message>
        <source>%1 V</source>
        <translation>%1 V</translation>
    </message>
    <message>
        <source>%1 %</source>
        <translation>%1 %</translation>
    </message>
</context>
<context>
    <name>ReportWriter</name>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>无法写入 %1：%2</translation>
    </message>
    <message>
        <source>Cannot write %1: the PDF could not be drawn</source>
        <translation>无法写入 %1：无法生成 PDF</translation>
    </message>
</context>
<context>
    <name>SafeFile</name>
    <message>
        <source>It is a directory.</source>
        <translation>这是一个目录。</translation>
    </message>
</context>
<context>
    <name>ServerConnection</name>
    <message>
        <source>Qt&apos;s PostgreSQL driver is not installed (Debian: libqt5sql5-psql).</source>
        <translation>未安装 Qt 的 PostgreSQL 驱动（Debian：libqt5sql5-psql）。</translation>
    </message>
    <message>
        <source>The server %1 asks for a password.</source>
        <translation>服务器 %1 需要密码。</translation>
    </message>
    <message>
        <source>The server %1 refused the user name or password: %2</source>
        <translation>服务器 %1 拒绝了用户名或密码：%2</translation>
    </message>
    <message>
        <source>The server %1 cannot be reached: %2</source>
        <translation>无法连接到服务器 %1：%2</translation>
    </message>
    <message>
        <source>Cannot connect to the server %1: %2</source>
        <translation>无法连接服务器 %1：%2</translation>
    </message>
    <message>
        <source>The connection to the server %1 was lost: %2</source>
        <translation>与服务器 %1 的连接已断开：%2</translation>
    </message>
    <message>
        <source>The server %1 refused a change: %2</source>
        <translation>服务器 %1 拒绝了一项更改：%2</translation>
    </message>
    <message>
        <source>The server %1 has no tables for Tessra yet, and %2 may not make them: the department&apos;s administrator makes them by connecting once as the owner of the schema &quot;%3&quot; (see team-server.sql).</source>
        <translation>服务器 %1 上还没有 Tessra 的表，且 %2 无权创建：由部门管理员以模式“%3”的所有者身份连接一次来创建（见 team-server.sql）。</translation>
    </message>
    <message>
        <source>The server %1 holds Tessra&apos;s tables at schema %2; this version needs schema %3, and %4 may not upgrade them: the department&apos;s administrator upgrades them by connecting once as the owner of the schema &quot;%5&quot;. Nothing was changed.</source>
        <translation>服务器 %1 上 Tessra 的表为模式 %2；此版本需要模式 %3，且 %4 无权升级：由部门管理员以模式“%5”的所有者身份连接一次来升级。未作任何更改。</translation>
    </message>
    <message>
        <source>The server %1 answered nothing for %2 seconds; it is taken as gone.</source>
        <translation>服务器 %1 已 %2 秒没有任何应答，视为已断开。</translation>
    </message>
</context>
<context>
    <name>ServerSchema</name>
    <message>
        <source>The server&apos;s tables were made by a newer version of Tessra (server schema %1); this version works with schema %2 at most. Nothing was changed on the server.</source>
        <translation>服务器上的表由更新版本的 Tessra 创建（服务器模式 %1）；此版本最多支持模式 %2。服务器上未作任何更改。</translation>
    </message>
    <message>
        <source>The server&apos;s tables could not be brought up to date: %1</source>
        <translation>无法更新服务器上的表：%1</translation>
    </message>
    <message>
        <source>The server has no schema &quot;%1&quot; for Tessra&apos;s tables, and this user may not create it (the department&apos;s administrator makes it with team-server.sql): %2</source>
        <translation>服务器上没有存放 Tessra 表的模式“%1”，且此用户无权创建（由部门管理员用 team-server.sql 创建）：%2</translation>
    </message>
</context>
<context>
    <name>SessionCsvExport</name>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>无法写入 %1：%2</translation>
    </message>
</context>
<context>
    <name>SignatureBlock</name>
    <message>
        <source>Tested by</source>
        <translation>测试人</translation>
    </message>
    <message>
        <source>Accepted by</source>
        <translation>验收人</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>日期</translation>
    </message>
    <message>
        <source>Signature</source>
        <translation>签名</translation>
    </message>
</context>
<context>
    <name>SyncEngine</name>
    <message>
        <source>Cannot use the journal %1: %2</source>
        <translation>无法使用日志 %1：%2</translation>
    </message>
    <message>
        <source>The sync was stopped; what was not sent goes with the next one.</source>
        <translation>同步已停止；未发送的内容将在下次同步时发送。</translation>
    </message>
    <message>
        <source>The journal or the server failed without saying why.</source>
        <translation>日志或服务器出错，但未说明原因。</translation>
    </message>
</context>
<context>
    <name>SyncStatus</name>
    <message>
        <source>Team server: not synced yet</source>
        <translation>团队服务器：尚未同步</translation>
    </message>
    <message>
        <source>Team server: syncing…</source>
        <translation>团队服务器：正在同步…</translation>
    </message>
    <message>
        <source>Team server: sync failed, trying again</source>
        <translation>团队服务器：同步失败，正在重试</translation>
    </message>
    <message>
        <source>Team server: synced %1</source>
        <translation>团队服务器：已于 %1 同步</translation>
    </message>
    <message numerus="yes">
        <source>, %n waiting</source>
        <translation>
            <numerusform>，%n 项等待中</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>TemplateWindow</name>
    <message>
        <source>TemplateWindow</source>
        <translation>主窗口</translation>
    </message>
    <message>
        <source>No.</source>
        <translation>序号</translation>
    </message>
    <message>
        <source>Date/Time</source>
        <translation>日期/时间</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>模式</translation>
    </message>
    <message>
        <source>RES</source>
        <translation>电阻</translation>
    </message>
    <message>
        <source>RES1</source>
        <translation>电阻1</translation>
    </message>
    <message>
        <source>RES2</source>
        <translation>电阻2</translation>
    </message>
    <message>
        <source>RES-COMP</source>
        <translation>比较电阻</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>结果</translation>
    </message>
    <message>
        <source>LC</source>
        <translation>漏电流</translation>
    </message>
    <message>
        <source>V-Set</source>
        <translation>设定电压</translation>
    </message>
    <message>
        <source>V-Out</source>
        <translation>输出电压</translation>
    </message>
    <message>
        <source>DAR</source>
        <translation>DAR</translation>
    </message>
    <message>
        <source>PI</source>
        <translation>PI</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>时间</translation>
    </message>
    <message>
        <source>Time-Set</source>
        <translation>设定时间</translation>
    </message>
    <message>
        <source>Time-Set1</source>
        <translation>设定时间1</translation>
    </message>
    <message>
        <source>Time-Set2</source>
        <translation>设定时间2</translation>
    </message>
    <message>
        <source>CAP</source>
        <translation>电容</translation>
    </message>
    <message>
        <source>VOLT</source>
        <translation>电压</translation>
    </message>
    <message>
        <source>ACDC</source>
        <translation>交直流</translation>
    </message>
    <message>
        <source>Tab 1</source>
        <translation>标签页 1</translation>
    </message>
    <message>
        <source>Vset:</source>
        <translation>设定电压：</translation>
    </message>
    <message>
        <source>0 V</source>
        <translation>0 V</translation>
    </message>
    <message>
        <source>Vout:</source>
        <translation>输出电压：</translation>
    </message>
    <message>
        <source>LC:</source>
        <translation>漏电流：</translation>
    </message>
    <message>
        <source>0 uA</source>
        <translation>0 uA</translation>
    </message>
    <message>
        <source>0</source>
        <translation>0</translation>
    </message>
    <message>
        <source>RES1:</source>
        <translation>电阻1：</translation>
    </message>
    <message>
        <source>RES2:</source>
        <translation>电阻2：</translation>
    </message>
    <message>
        <source>Time:</source>
        <translation>时间：</translation>
    </message>
    <message>
        <source>Live</source>
        <translation>实时</translation>
    </message>
    <message>
        <source>Stored</source>
        <translation>存储</translation>
    </message>
    <message>
        <source>IR</source>
        <translation>IR</translation>
    </message>
    <message>
        <source>TIME</source>
        <translation>TIME</translation>
    </message>
    <message>
        <source>COMP</source>
        <translation>COMP</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>开始</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>暂停</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>导出</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>清除</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>History</source>
        <translation>历史记录</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>选项</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>帮助</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Are you sure you want to clear all data?</source>
        <translation>确定要清除所有数据吗？</translation>
    </message>
    <message>
        <source>Data communication error.The equipment may have been disconnected.</source>
        <translation>数据通信错误。设备可能已断开连接。</translation>
    </message>
    <message>
        <source>Failed to open device.</source>
        <translation>打开设备失败。</translation>
    </message>
    <message>
        <source>No valid device found.</source>
        <translation>未找到有效的设备。</translation>
    </message>
    <message>
        <source>Choose the Device</source>
        <translation>选择设备</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>另存为</translation>
    </message>
    <message>
        <source>The data is exported successfully.<byte value="xd"/>
Do you want to open this file?</source>
        <translation>数据导出成功。<byte value="xd"/>
是否打开此文件？</translation>
    </message>
    <message>
        <source>The data is exported failed.</source>
        <translation>数据导出失败。</translation>
    </message>
    <message>
        <source>The chart is exported successfully.<byte value="xd"/>
Do you want to open this file?</source>
        <translation>图表导出成功。<byte value="xd"/>
是否打开此文件？</translation>
    </message>
    <message>
        <source>The chart is exported failed.</source>
        <translation>图表导出失败。</translation>
    </message>
    <message>
        <source>Time-Set:</source>
        <translation>设定时间：</translation>
    </message>
    <message>
        <source>Time-Set1:</source>
        <translation>设定时间1：</translation>
    </message>
    <message>
        <source>Time-Set2:</source>
        <translation>设定时间2：</translation>
    </message>
    <message>
        <source>RES-COMP:</source>
        <translation>比较电阻：</translation>
    </message>
    <message>
        <source>Result:</source>
        <translation>结果：</translation>
    </message>
    <message>
        <source>Chinese</source>
        <translation>中文</translation>
    </message>
    <message>
        <source>English</source>
        <translation>英文</translation>
    </message>
    <message>
        <source>Tests</source>
        <translation>测试</translation>
    </message>
    <message>
        <source>Equipment</source>
        <translation>设备</translation>
    </message>
    <message>
        <source>Readings cannot be kept in the journal %1.
They are still shown and can be exported, but they will be lost when Tessra ends.</source>
        <translation>读数无法保存到日志 %1。
读数仍会显示并可导出，但 Tessra 退出后将丢失。</translation>
    </message>
    <message numerus="yes">
        <source>Tessra did not end cleanly while recording the session started %1 (%n readings).
Do you want to bring its readings back into the tables?</source>
        <translation>
            <numerusform>Tessra 在记录开始于 %1 的会话（%n 个读数）时未正常结束。
是否将其读数恢复到表格中？</numerusform>
        </translation>
    </message>
    <message>
        <source>There is no journal of past sessions.</source>
        <translation>没有以往会话的日志。</translation>
    </message>
    <message>
        <source>The journal keeps its readings: History opens them again.</source>
        <translation>日志保留其读数：可在“历史记录”中再次打开。</translation>
    </message>
    <message>
        <source>The journal cannot be written: its readings will be lost.</source>
        <translation>日志无法写入：其读数将会丢失。</translation>
    </message>
    <message>
        <source>Clear Data</source>
        <translation>清除数据</translation>
    </message>
    <message>
        <source>Clear the table shown?</source>
        <translation>清除当前显示的表格吗？</translation>
    </message>
    <message>
        <source>A %1 test is running. Closing Tessra ends it where it stands.
Do you want to close?</source>
        <translation>%1 测试正在进行。关闭 Tessra 将在当前位置结束该测试。
确定要关闭吗？</translation>
    </message>
    <message>
        <source>Memory download: 1 record, %1 new</source>
        <translation>仪表存储下载：1 条记录，其中 %1 条为新记录</translation>
    </message>
    <message>
        <source>Memory download: %1 records, %2 new</source>
        <translation>仪表存储下载：%1 条记录，其中 %2 条为新记录</translation>
    </message>
</context>
<context>
    <name>TestSection</name>
    <message>
        <source>%1 test</source>
        <translation>%1 测试</translation>
    </message>
    <message>
        <source>Test %1 of %2: %3</source>
        <translation>测试 %1/%2：%3</translation>
    </message>
    <message>
        <source>%1 (%2 and %3)</source>
        <translation>%1（%2 和 %3）</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1（%2）</translation>
    </message>
    <message>
        <source>not corrected</source>
        <translation>未校正</translation>
    </message>
    <message>
        <source>to %1</source>
        <translation>到 %1</translation>
    </message>
    <message>
        <source>Started</source>
        <translation>开始时间</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>模式</translation>
    </message>
    <message>
        <source>Set voltage</source>
        <translation>设定电压</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>状态</translation>
    </message>
    <message>
        <source>Origin</source>
        <translation>来源</translation>
    </message>
    <message>
        <source>Operator</source>
        <translation>操作员</translation>
    </message>
    <message>
        <source>Insulation temperature</source>
        <translation>绝缘温度</translation>
    </message>
    <message>
        <source>Ambient temperature</source>
        <translation>环境温度</translation>
    </message>
    <message>
        <source>Relative humidity</source>
        <translation>相对湿度</translation>
    </message>
    <message>
        <source>Temperature correction</source>
        <translation>温度校正</translation>
    </message>
    <message>
        <source>No curve: the meter&apos;s memory keeps a test&apos;s final values only.</source>
        <translation>无曲线：仪表存储只保留测试的最终值。</translation>
    </message>
    <message>
        <source>No curve: no readings were recorded.</source>
        <translation>无曲线：未记录读数。</translation>
    </message>
    <message>
        <source>Readings of the curve</source>
        <translation>曲线读数</translation>
    </message>
    <message>
        <source>Ratios of the curve</source>
        <translation>曲线比值</translation>
    </message>
    <message>
        <source>DAR (R60/R30)</source>
        <translation>DAR (R60/R30)</translation>
    </message>
    <message>
        <source>DAR (R60/R15)</source>
        <translation>DAR (R60/R15)</translation>
    </message>
    <message>
        <source>PI (R600/R60)</source>
        <translation>PI (R600/R60)</translation>
    </message>
    <message>
        <source>At the meter&apos;s set times (%1 / %2)</source>
        <translation>仪表设定时间处（%1 / %2）</translation>
    </message>
    <message>
        <source>R15 (15 s)</source>
        <translation>R15（15 秒）</translation>
    </message>
    <message>
        <source>R30 (30 s)</source>
        <translation>R30（30 秒）</translation>
    </message>
    <message>
        <source>R60 (1 min)</source>
        <translation>R60（1 分钟）</translation>
    </message>
    <message>
        <source>R600 (10 min)</source>
        <translation>R600（10 分钟）</translation>
    </message>
    <message>
        <source>Final resistance</source>
        <translation>最终电阻</translation>
    </message>
    <message>
        <source>pass</source>
        <translation>合格</translation>
    </message>
    <message>
        <source>no verdict</source>
        <translation>无判定</translation>
    </message>
    <message>
        <source>fail</source>
        <translation>不合格</translation>
    </message>
    <message>
        <source>%1 (limit %2)</source>
        <translation>%1（限值 %2）</translation>
    </message>
    <message>
        <source>DAR</source>
        <translation>DAR</translation>
    </message>
    <message>
        <source>PI</source>
        <translation>PI</translation>
    </message>
    <message>
        <source>Comparison</source>
        <translation>比较结果</translation>
    </message>
    <message>
        <source>Corrected to %1</source>
        <translation>校正到 %1</translation>
    </message>
    <message>
        <source>Corrected values</source>
        <translation>校正值</translation>
    </message>
    <message>
        <source>The meter&apos;s values</source>
        <translation>仪表值</translation>
    </message>
    <message>
        <source>Verdict</source>
        <translation>结论</translation>
    </message>
    <message>
        <source>the curve&apos;s DAR differs from the meter&apos;s by more than 5 %</source>
        <translation>曲线 DAR 与仪表值相差超过 5%</translation>
    </message>
    <message>
        <source>the curve&apos;s PI differs from the meter&apos;s by more than 5 %</source>
        <translation>曲线 PI 与仪表值相差超过 5%</translation>
    </message>
    <message>
        <source>Reasons</source>
        <translation>理由</translation>
    </message>
    <message>
        <source>Notes</source>
        <translation>备注</translation>
    </message>
    <message>
        <source>%1 measurement: %2</source>
        <translation>%1 测量：%2</translation>
    </message>
    <message>
        <source>operator: %1</source>
        <translation>操作员：%1</translation>
    </message>
    <message>
        <source>Completed</source>
        <translation>已完成</translation>
    </message>
    <message>
        <source>Interrupted</source>
        <translation>已中断</translation>
    </message>
    <message>
        <source>Still running</source>
        <translation>仍在进行</translation>
    </message>
    <message>
        <source>The meter&apos;s memory</source>
        <translation>仪表存储</translation>
    </message>
    <message>
        <source>Live readings</source>
        <translation>实时读数</translation>
    </message>
    <message>
        <source>beyond the range</source>
        <translation>超出量程</translation>
    </message>
    <message>
        <source>Warnings</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Rules</source>
        <translation>规则</translation>
    </message>
    <message>
        <source>Test point</source>
        <translation>测试点</translation>
    </message>
</context>
<context>
    <name>TestsCsvExport</name>
    <message>
        <source>Tag</source>
        <translation>编号</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>描述</translation>
    </message>
    <message>
        <source>Site</source>
        <translation>厂区</translation>
    </message>
    <message>
        <source>Location</source>
        <translation>位置</translation>
    </message>
    <message>
        <source>Kind</source>
        <translation>类型</translation>
    </message>
    <message>
        <source>Rated voltage (kV)</source>
        <translation>额定电压 (kV)</translation>
    </message>
    <message>
        <source>Insulation class</source>
        <translation>绝缘等级</translation>
    </message>
    <message>
        <source>Winding</source>
        <translation>绕组</translation>
    </message>
    <message>
        <source>Base temperature (°C)</source>
        <translation>基准温度 (°C)</translation>
    </message>
    <message>
        <source>Item notes</source>
        <translation>设备备注</translation>
    </message>
    <message>
        <source>Test</source>
        <translation>测试</translation>
    </message>
    <message>
        <source>Test uuid</source>
        <translation>测试 uuid</translation>
    </message>
    <message>
        <source>Started</source>
        <translation>开始时间</translation>
    </message>
    <message>
        <source>Ended</source>
        <translation>结束时间</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>模式</translation>
    </message>
    <message>
        <source>Origin</source>
        <translation>来源</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>状态</translation>
    </message>
    <message>
        <source>Set voltage (V)</source>
        <translation>设定电压 (V)</translation>
    </message>
    <message>
        <source>Final R (MΩ)</source>
        <translation>最终电阻 (MΩ)</translation>
    </message>
    <message>
        <source>Beyond the range</source>
        <translation>超出量程</translation>
    </message>
    <message>
        <source>Meter&apos;s DAR</source>
        <translation>仪表 DAR</translation>
    </message>
    <message>
        <source>Meter&apos;s PI</source>
        <translation>仪表 PI</translation>
    </message>
    <message>
        <source>COMP result</source>
        <translation>COMP 结果</translation>
    </message>
    <message>
        <source>R15 (MΩ)</source>
        <translation>R15 (MΩ)</translation>
    </message>
    <message>
        <source>R30 (MΩ)</source>
        <translation>R30 (MΩ)</translation>
    </message>
    <message>
        <source>R60 (MΩ)</source>
        <translation>R60 (MΩ)</translation>
    </message>
    <message>
        <source>R600 (MΩ)</source>
        <translation>R600 (MΩ)</translation>
    </message>
    <message>
        <source>DAR R60/R30</source>
        <translation>DAR R60/R30</translation>
    </message>
    <message>
        <source>DAR R60/R15</source>
        <translation>DAR R60/R15</translation>
    </message>
    <message>
        <source>PI R600/R60</source>
        <translation>PI R600/R60</translation>
    </message>
    <message>
        <source>Corrected R (MΩ)</source>
        <translation>校正后电阻 (MΩ)</translation>
    </message>
    <message>
        <source>Corrected to (°C)</source>
        <translation>校正到 (°C)</translation>
    </message>
    <message>
        <source>Insulation temperature (°C)</source>
        <translation>绝缘温度 (°C)</translation>
    </message>
    <message>
        <source>Ambient temperature (°C)</source>
        <translation>环境温度 (°C)</translation>
    </message>
    <message>
        <source>Relative humidity (%)</source>
        <translation>相对湿度 (%)</translation>
    </message>
    <message>
        <source>Operator</source>
        <translation>操作员</translation>
    </message>
    <message>
        <source>Notes</source>
        <translation>备注</translation>
    </message>
    <message>
        <source>Verdict</source>
        <translation>结论</translation>
    </message>
    <message>
        <source>Reasons</source>
        <translation>依据</translation>
    </message>
    <message>
        <source>Qualified pass</source>
        <translation>有保留的合格</translation>
    </message>
    <message>
        <source>Rules</source>
        <translation>规则</translation>
    </message>
    <message>
        <source>Warnings</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Meter&apos;s ratio at set times</source>
        <translation>仪表设定时间的比值</translation>
    </message>
    <message>
        <source>Meter&apos;s ratio value</source>
        <translation>仪表比值</translation>
    </message>
    <message>
        <source>Test point</source>
        <translation>测试点</translation>
    </message>
    <message>
        <source>Tested</source>
        <translation>测试日期</translation>
    </message>
</context>
<context>
    <name>TestsWindow</name>
    <message>
        <source>The PI at 10 min as predicted during the test, against the %1 measured:</source>
        <translation>测试过程中对 10 分钟 PI 的预测，与实测值 %1 对照：</translation>
    </message>
    <message>
        <source>after %1</source>
        <translation>%1 时</translation>
    </message>
    <message>
        <source>Tests</source>
        <translation>测试</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>时间</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>模式</translation>
    </message>
    <message>
        <source>Voltage</source>
        <translation>电压</translation>
    </message>
    <message>
        <source>Final R</source>
        <translation>最终电阻</translation>
    </message>
    <message>
        <source>PI</source>
        <translation>PI</translation>
    </message>
    <message>
        <source>DAR</source>
        <translation>DAR</translation>
    </message>
    <message>
        <source>Verdict</source>
        <translation>结论</translation>
    </message>
    <message>
        <source>Equipment</source>
        <translation>设备</translation>
    </message>
    <message>
        <source>Leakage current</source>
        <translation>泄漏电流</translation>
    </message>
    <message>
        <source>Details</source>
        <translation>详细信息</translation>
    </message>
    <message>
        <source>Kind</source>
        <translation>类型</translation>
    </message>
    <message>
        <source>Rated voltage</source>
        <translation>额定电压</translation>
    </message>
    <message>
        <source> kV</source>
        <translation> kV</translation>
    </message>
    <message>
        <source>not given</source>
        <translation>未提供</translation>
    </message>
    <message>
        <source>Insulation class</source>
        <translation>绝缘等级</translation>
    </message>
    <message>
        <source>Winding</source>
        <translation>绕组</translation>
    </message>
    <message>
        <source>Insulation temperature</source>
        <translation>绝缘温度</translation>
    </message>
    <message>
        <source> °C</source>
        <translation> °C</translation>
    </message>
    <message>
        <source>Ambient temperature</source>
        <translation>环境温度</translation>
    </message>
    <message>
        <source>Relative humidity</source>
        <translation>相对湿度</translation>
    </message>
    <message>
        <source> %</source>
        <translation> %</translation>
    </message>
    <message>
        <source>Corrected to</source>
        <translation>校正到</translation>
    </message>
    <message>
        <source>kind&apos;s default</source>
        <translation>按类型默认</translation>
    </message>
    <message>
        <source>Halves every</source>
        <translation>减半间隔</translation>
    </message>
    <message>
        <source>Operator</source>
        <translation>操作员</translation>
    </message>
    <message>
        <source>Notes</source>
        <translation>备注</translation>
    </message>
    <message>
        <source>Save details</source>
        <translation>保存详细信息</translation>
    </message>
    <message>
        <source> (memory)</source>
        <translation>（存储）</translation>
    </message>
    <message>
        <source>running</source>
        <translation>进行中</translation>
    </message>
    <message>
        <source>%1, interrupted</source>
        <translation>%1，已中断</translation>
    </message>
    <message>
        <source>DAR (R60/R30) %1</source>
        <translation>DAR (R60/R30) %1</translation>
    </message>
    <message>
        <source>DAR (R60/R15) %1</source>
        <translation>DAR (R60/R15) %1</translation>
    </message>
    <message>
        <source>PI (R600/R60) %1</source>
        <translation>PI (R600/R60) %1</translation>
    </message>
    <message>
        <source>ratio at the meter&apos;s set times %1</source>
        <translation>仪表设定时间处的比值 %1</translation>
    </message>
    <message>
        <source>meter&apos;s DAR %1</source>
        <translation>仪表 DAR %1</translation>
    </message>
    <message>
        <source>meter&apos;s PI %1</source>
        <translation>仪表 PI %1</translation>
    </message>
    <message>
        <source>the curve&apos;s DAR differs from the meter&apos;s by more than 5 %</source>
        <translation>曲线 DAR 与仪表值相差超过 5%</translation>
    </message>
    <message>
        <source>the curve&apos;s PI differs from the meter&apos;s by more than 5 %</source>
        <translation>曲线 PI 与仪表值相差超过 5%</translation>
    </message>
    <message>
        <source>corrected to %1: %2</source>
        <translation>校正到 %1：%2</translation>
    </message>
    <message>
        <source>tag of the register&apos;s item</source>
        <translation>登记册中设备的编号</translation>
    </message>
    <message>
        <source>New item...</source>
        <translation>新设备...</translation>
    </message>
    <message>
        <source>Report...</source>
        <translation>报告...</translation>
    </message>
    <message>
        <source>A test can be reported once it has ended.</source>
        <translation>测试结束后才能生成报告。</translation>
    </message>
    <message>
        <source>%1 is not in the equipment register yet.
Do you want to add it, as the form describes it?</source>
        <translation>%1 尚未在设备登记册中。
要按表单所述添加吗？</translation>
    </message>
    <message>
        <source>meter&apos;s %1 %2</source>
        <translation>仪表的 %1 %2</translation>
    </message>
    <message>
        <source>Rules: %1</source>
        <translation>规则：%1</translation>
    </message>
    <message>
        <source>Test point</source>
        <translation>测试点</translation>
    </message>
    <message>
        <source>Tested on</source>
        <translation>测试时间</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>未知</translation>
    </message>
    <message>
        <source>When a test from the meter&apos;s memory was made: its readings carry no date of their own.</source>
        <translation>仪表存储中的测试的进行时间：其读数本身不带日期。</translation>
    </message>
    <message>
        <source>Correction</source>
        <translation>温度校正</translation>
    </message>
    <message>
        <source>The details could not be saved: %1</source>
        <translation>无法保存详细信息：%1</translation>
    </message>
    <message>
        <source>no item</source>
        <translation>未归入设备</translation>
    </message>
    <message>
        <source>Discard changes</source>
        <translation>放弃更改</translation>
    </message>
    <message>
        <source>Not saved yet</source>
        <translation>尚未保存</translation>
    </message>
    <message>
        <source>by the details not saved yet</source>
        <translation>按尚未保存的详细信息</translation>
    </message>
    <message>
        <source>The details of the test you were editing are not saved yet.
Do you want to save them?</source>
        <translation>正在编辑的测试的详细信息尚未保存。
要保存吗？</translation>
    </message>
    <message>
        <source>Use these details for the next test: %1</source>
        <translation>将这些详细信息用于下一次测试：%1</translation>
    </message>
    <message>
        <source>Use these details for the next %1 test: %2</source>
        <translation>将这些详细信息用于下一次 %1 测试：%2</translation>
    </message>
</context>
<context>
    <name>TrendAnalysis</name>
    <message>
        <source>IR1min fell by %1 % since the previous test (%2 at %3, %4) to %5 at %6</source>
        <translation>IR1min 自上次测试（%4，%3 时 %2）以来下降了 %1%，降至 %6 时的 %5</translation>
    </message>
    <message>
        <source>IR1min fell by %1 % since the best (%2 at %3, %4) to %5 at %6</source>
        <translation>IR1min 自最佳值（%4，%3 时 %2）以来下降了 %1%，降至 %6 时的 %5</translation>
    </message>
    <message>
        <source>; </source>
        <translation>；</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1：%2</translation>
    </message>
    <message>
        <source>no test point</source>
        <translation>无测试点</translation>
    </message>
</context>
<context>
    <name>TrendChart</name>
    <message>
        <source>Corrected IR1min</source>
        <translation>校正后 IR1min</translation>
    </message>
    <message>
        <source>Beyond the range (a lower bound)</source>
        <translation>超出量程（下限值）</translation>
    </message>
    <message>
        <source>PI</source>
        <translation>PI</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Corrected insulation resistance</source>
        <translation>校正后绝缘电阻</translation>
    </message>
    <message>
        <source>Minimum IR %1</source>
        <translation>最小绝缘电阻 %1</translation>
    </message>
    <message>
        <source>Minimum PI %1</source>
        <translation>最小 PI %1</translation>
    </message>
</context>
<context>
    <name>TrendPlot</name>
    <message>
        <source>IR1min, corrected</source>
        <translation>IR1min（已校正）</translation>
    </message>
    <message>
        <source>PI</source>
        <translation>PI</translation>
    </message>
    <message>
        <source>fell by more than half</source>
        <translation>下降超过一半</translation>
    </message>
    <message>
        <source>minimum %1</source>
        <translation>最小值 %1</translation>
    </message>
</context>
<context>
    <name>TrendSection</name>
    <message>
        <source>Trend of %1</source>
        <translation>%1 的趋势</translation>
    </message>
    <message>
        <source>The insulation resistance at 1 min (or the final one) and the PI of every test of the item, each test point a series of its own, all corrected to the base temperature of the item as it is now. A fall of more than half from the previous or the best test at the same test point, test voltage and a similar temperature is a warning, even where both tests pass.</source>
        <translation>该设备每次测试的 1 分钟绝缘电阻（或最终值）及 PI，每个测试点单独成一条曲线，均按设备当前的基准温度校正。与同一测试点、相同测试电压且温度相近的上次测试或最佳测试相比下降超过一半即为警告，即使两次测试均合格。</translation>
    </message>
    <message>
        <source>No.</source>
        <translation>序号</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>日期</translation>
    </message>
    <message>
        <source>Corrected IR</source>
        <translation>校正后绝缘电阻</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
</context>
<context>
    <name>Verdict</name>
    <message>
        <source>Pass</source>
        <translation>合格</translation>
    </message>
    <message>
        <source>Fail</source>
        <translation>不合格</translation>
    </message>
    <message>
        <source>Not assessed</source>
        <translation>未评定</translation>
    </message>
    <message>
        <source> and </source>
        <translation>和</translation>
    </message>
    <message>
        <source>Pass on %1; %2</source>
        <translation>按 %1 合格；%2</translation>
    </message>
    <message>
        <source>Pass, not fully assessed</source>
        <translation>合格，未完全评定</translation>
    </message>
</context>
<context>
    <name>VerdictRules</name>
    <message>
        <source>%1 MΩ</source>
        <translation>%1 MΩ</translation>
    </message>
    <message>
        <source>a measurement, not a test</source>
        <translation>测量值，不是测试</translation>
    </message>
    <message>
        <source>IR1min</source>
        <translation>IR1min</translation>
    </message>
    <message>
        <source>final IR</source>
        <translation>最终绝缘电阻</translation>
    </message>
    <message>
        <source>no curve (a record of the meter&apos;s memory): the final reading is judged</source>
        <translation>无曲线（仪表存储记录）：按最终读数评定</translation>
    </message>
    <message>
        <source>the curve does not reach 1 min: the final reading is judged</source>
        <translation>曲线未达到 1 分钟：按最终读数评定</translation>
    </message>
    <message>
        <source>no resistance at 1 min in the curve: the final reading is judged</source>
        <translation>曲线在 1 分钟处无电阻值：按最终读数评定</translation>
    </message>
    <message>
        <source>no temperature given: not corrected</source>
        <translation>未提供温度：未校正</translation>
    </message>
    <message>
        <source>(not corrected)</source>
        <translation>（未校正）</translation>
    </message>
    <message>
        <source>no usable halving interval: not corrected</source>
        <translation>减半间隔无效：未校正</translation>
    </message>
    <message>
        <source>corrected from %1 to %2: ×%3 (halving every %4)</source>
        <translation>由 %1 校正到 %2：×%3（每 %4 减半）</translation>
    </message>
    <message>
        <source>at %1</source>
        <translation>在 %1</translation>
    </message>
    <message>
        <source>%1, at least %2 for %3: pass</source>
        <translation>%1，%3 要求至少 %2：合格</translation>
    </message>
    <message>
        <source>%1, below %2 for %3: fail</source>
        <translation>%1，低于 %3 要求的 %2：不合格</translation>
    </message>
    <message>
        <source>older and field windings (%1 kV + 1)</source>
        <translation>较旧绕组和励磁绕组（%1 kV + 1）</translation>
    </message>
    <message>
        <source>form-wound windings</source>
        <translation>成型绕组</translation>
    </message>
    <message>
        <source>random-wound windings and windings below 1 kV</source>
        <translation>散嵌绕组及 1 kV 以下绕组</translation>
    </message>
    <message>
        <source>winding type not given: minimum IR not assessed</source>
        <translation>未提供绕组类型：未评定最小绝缘电阻</translation>
    </message>
    <message>
        <source>rated voltage not given: minimum IR not assessed</source>
        <translation>未提供额定电压：未评定最小绝缘电阻</translation>
    </message>
    <message>
        <source>insulation class not given: PI not assessed</source>
        <translation>未提供绝缘等级：未评定 PI</translation>
    </message>
    <message>
        <source>PI not assessed: %1 is above %2</source>
        <translation>未评定 PI：%1 高于 %2</translation>
    </message>
    <message>
        <source>no PI (the curve does not give R10min / R1min and the meter gave none): PI not assessed</source>
        <translation>无 PI（曲线无法给出 R10min / R1min，仪表也未提供）：未评定 PI</translation>
    </message>
    <message>
        <source>%1 (the meter&apos;s)</source>
        <translation>%1（仪表值）</translation>
    </message>
    <message>
        <source>PI %1, at least %2 for class %3: pass</source>
        <translation>PI %1，%3 级要求至少 %2：合格</translation>
    </message>
    <message>
        <source>PI %1 below %2 for class %3: fail</source>
        <translation>PI %1 低于 %3 级要求的 %2：不合格</translation>
    </message>
    <message>
        <source>the row up to %1</source>
        <translation>%1 及以下一行</translation>
    </message>
    <message>
        <source>the row %1 and above</source>
        <translation>%1 及以上一行</translation>
    </message>
    <message>
        <source>the %1 row, the next above it</source>
        <translation>%1 一行（其上一档）</translation>
    </message>
    <message>
        <source>the %1 row</source>
        <translation>%1 一行</translation>
    </message>
    <message>
        <source>a rated voltage of %1 (%2)</source>
        <translation>额定电压 %1（%2）</translation>
    </message>
    <message>
        <source>the meter&apos;s verdict against its limit of %1: pass</source>
        <translation>仪表按其限值 %1 判定：合格</translation>
    </message>
    <message>
        <source>the meter gave no verdict against its limit of %1: not assessed</source>
        <translation>仪表未按其限值 %1 判定：未评定</translation>
    </message>
    <message>
        <source>the meter&apos;s verdict against its limit of %1: fail</source>
        <translation>仪表按其限值 %1 判定：不合格</translation>
    </message>
    <message>
        <source>interrupted before 1 min without a final reading: not assessed</source>
        <translation>1 分钟前中断且无最终读数：未评定</translation>
    </message>
    <message>
        <source>no insulation resistance reading: not assessed</source>
        <translation>无绝缘电阻读数：未评定</translation>
    </message>
    <message>
        <source>the test was interrupted: judged on the readings it has</source>
        <translation>测试已中断：按已有读数评定</translation>
    </message>
    <message>
        <source>the test is still running: judged on the readings so far</source>
        <translation>测试仍在进行：按目前读数评定</translation>
    </message>
    <message>
        <source>%1 V</source>
        <translation>%1 V</translation>
    </message>
    <message>
        <source>this voltage</source>
        <translation>此电压</translation>
    </message>
    <message>
        <source>the row %1 and above, the next above it</source>
        <translation>%1 及以上一行，上面的下一行</translation>
    </message>
    <message>
        <source>the manufacturer&apos;s minimum gives no base temperature: judged at %1, the standard&apos;s</source>
        <translation>制造商最低值未给出基准温度：按标准的 %1 评定</translation>
    </message>
    <message>
        <source>this item (the manufacturer&apos;s minimum)</source>
        <translation>此设备（制造商最低值）</translation>
    </message>
    <message>
        <source>%1, at least %2 for %3, but taken after 1 min it shows no IR1min: not assessed</source>
        <translation>%1，%3 至少 %2，但在 1 分钟之后测得，不能代表 IR1min：未评定</translation>
    </message>
    <message>
        <source>%1, at least %2 for %3, but at an unknown time it shows no IR1min: not assessed</source>
        <translation>%1，%3 至少 %2，但测得时间未知，不能代表 IR1min：未评定</translation>
    </message>
    <message>
        <source>%1: beyond the range at %2, below the minimum of %3 for %4: not assessed; test at a higher voltage</source>
        <translation>%1：在 %2 下超出量程，低于 %4 的最低值 %3：未评定；请用更高电压测试</translation>
    </message>
    <message>
        <source>%1: beyond the range at %2, its limit unknown, so not shown to reach %3 for %4: not assessed; test at a higher voltage</source>
        <translation>%1：在 %2 下超出量程，量程上限未知，无法证明达到 %4 的 %3：未评定；请用更高电压测试</translation>
    </message>
    <message>
        <source>%1, either side of %2 for %3 as the insulation medium is not given: not assessed; give the medium</source>
        <translation>%1，由于未提供绝缘介质，处于 %3 的 %2 两侧：未评定；请提供绝缘介质</translation>
    </message>
    <message>
        <source>not corrected for temperature</source>
        <translation>未做温度校正</translation>
    </message>
    <message>
        <source>the meter&apos;s %1 %2 is not a PI (R10min/R1min): PI not assessed</source>
        <translation>仪表的 %1 %2 不是 PI（R10min/R1min）：未评定 PI</translation>
    </message>
    <message>
        <source>PI not measured</source>
        <translation>未测量 PI</translation>
    </message>
    <message>
        <source>PI %1 shown, not judged: the PI may not apply to random-wound windings (%2)</source>
        <translation>PI %1 仅显示，不评定：PI 可能不适用于散嵌绕组（%2）</translation>
    </message>
    <message>
        <source>PI not assessed</source>
        <translation>未评定 PI</translation>
    </message>
    <message>
        <source>class %1</source>
        <translation>%1 级</translation>
    </message>
    <message>
        <source>PI %1, at least %2 for %3: pass</source>
        <translation>PI %1，%3 至少 %2：合格</translation>
    </message>
    <message>
        <source>PI %1 below %2 for %3: fail</source>
        <translation>PI %1 低于 %3 的 %2：不合格</translation>
    </message>
    <message>
        <source>rated voltage not given: test voltage not checked</source>
        <translation>未提供额定电压：未检查试验电压</translation>
    </message>
    <message>
        <source>test voltage not checked</source>
        <translation>未检查试验电压</translation>
    </message>
    <message>
        <source>test voltage not known: not checked</source>
        <translation>试验电压未知：未检查</translation>
    </message>
    <message>
        <source>a %1 winding</source>
        <translation>%1 绕组</translation>
    </message>
    <message>
        <source>equipment rated %1</source>
        <translation>额定 %1 的设备</translation>
    </message>
    <message>
        <source>tested at %1, the table asks at least %2 for %3: not assessed</source>
        <translation>以 %1 测试，表中要求 %3 至少 %2：未评定</translation>
    </message>
    <message>
        <source>tested at %1, above the %2 recommended at most for %3</source>
        <translation>以 %1 测试，高于 %3 推荐的最高 %2</translation>
    </message>
    <message>
        <source>tested at %1, within %2 to %3 for %4</source>
        <translation>以 %1 测试，在 %4 的 %2 至 %3 之内</translation>
    </message>
    <message>
        <source>tested at %1, at least %2 for %3</source>
        <translation>以 %1 测试，%3 至少 %2</translation>
    </message>
    <message>
        <source>not corrected: no temperature given</source>
        <translation>未校正：未提供温度</translation>
    </message>
    <message>
        <source>not corrected: %1</source>
        <translation>未校正：%1</translation>
    </message>
    <message>
        <source>not corrected: the insulation medium is not given</source>
        <translation>未校正：未提供绝缘介质</translation>
    </message>
    <message>
        <source>to %1, %2</source>
        <translation>到 %1，%2</translation>
    </message>
    <message>
        <source>IR1min not measured</source>
        <translation>未测量 IR1min</translation>
    </message>
    <message>
        <source>PI</source>
        <translation>PI</translation>
    </message>
</context>
<context>
    <name>WindowSync</name>
    <message>
        <source>Team server</source>
        <translation>团队服务器</translation>
    </message>
    <message>
        <source>Password of %1 on %2:</source>
        <translation>%1 在 %2 上的密码：</translation>
    </message>
</context>
<context>
    <name>ChartImage</name>
    <message>
        <source>The chart could not be drawn as PDF.</source>
        <translation>无法将图表绘制为 PDF。</translation>
    </message>
</context>
<context>
    <name>SessionJobs</name>
    <message>
        <source>Loading the session&apos;s readings...</source>
        <translation>正在载入会话读数...</translation>
    </message>
    <message>
        <source>Exporting the session...</source>
        <translation>正在导出会话...</translation>
    </message>
</context>
<context>
    <name>SessionRecorder</name>
    <message>
        <source>The session is being recorded.</source>
        <translation>该会话正在记录中。</translation>
    </message>
</context>
<context>
    <name>ReportActions</name>
    <message>
        <source>test %1 %2</source>
        <translation>测试 %1 %2</translation>
    </message>
    <message>
        <source>Save the report as</source>
        <translation>报告另存为</translation>
    </message>
    <message>
        <source>PDF (*.pdf)</source>
        <translation>PDF (*.pdf)</translation>
    </message>
    <message>
        <source>The report could not be written.</source>
        <translation>无法写入报告。</translation>
    </message>
    <message>
        <source>Export the register and its tests as</source>
        <translation>登记册及其测试导出为</translation>
    </message>
    <message>
        <source>register.csv</source>
        <translation>register.csv</translation>
    </message>
    <message>
        <source>The register could not be exported.</source>
        <translation>无法导出登记册。</translation>
    </message>
    <message>
        <source>%1 is written.
Do you want to open it?</source>
        <translation>%1 已写入。
要打开吗？</translation>
    </message>
</context>
<context>
    <name>CorrectionRule</name>
    <message>
        <source>no temperature given</source>
        <translation>未提供温度</translation>
    </message>
    <message>
        <source>no usable halving interval</source>
        <translation>无可用的减半间隔</translation>
    </message>
    <message>
        <source>%1 is outside Table 100.14 (%2 to %3)</source>
        <translation>%1 超出 Table 100.14 的范围（%2 至 %3）</translation>
    </message>
    <message>
        <source>halving every %1, an approximation</source>
        <translation>每 %1 减半，近似</translation>
    </message>
    <message>
        <source>halving every %1, as chosen</source>
        <translation>每 %1 减半，按所选</translation>
    </message>
    <message>
        <source>Table 100.14, solid insulation</source>
        <translation>Table 100.14，固体绝缘</translation>
    </message>
    <message>
        <source>Table 100.14, oil-immersed insulation</source>
        <translation>Table 100.14，油浸绝缘</translation>
    </message>
    <message>
        <source>Table 100.14, insulation medium not given: solid or oil-immersed</source>
        <translation>Table 100.14，未提供绝缘介质：固体或油浸</translation>
    </message>
</context>
<context>
    <name>JudgedReading</name>
    <message>
        <source>IR1min</source>
        <translation>IR1min</translation>
    </message>
    <message>
        <source>no IR1min: the meter&apos;s set times are %1 and %2</source>
        <translation>无 IR1min：仪表设定时间为 %1 和 %2</translation>
    </message>
    <message>
        <source>no curve (a record of the meter&apos;s memory): the final reading is judged</source>
        <translation>无曲线（仪表存储记录）：按最终读数评定</translation>
    </message>
    <message>
        <source>the curve does not reach 1 min: the final reading is judged</source>
        <translation>曲线未达到 1 分钟：按最终读数评定</translation>
    </message>
    <message>
        <source>no resistance at 1 min in the curve: the final reading is judged</source>
        <translation>曲线在 1 分钟处无电阻值：按最终读数评定</translation>
    </message>
    <message>
        <source>the final reading at %1</source>
        <translation>%1 时的最终读数</translation>
    </message>
    <message>
        <source>the final reading, time unknown</source>
        <translation>最终读数，时间未知</translation>
    </message>
    <message>
        <source>(not corrected)</source>
        <translation>（未校正）</translation>
    </message>
    <message>
        <source>no temperature given: not corrected</source>
        <translation>未提供温度：未校正</translation>
    </message>
    <message>
        <source>%1: not corrected</source>
        <translation>%1：未校正</translation>
    </message>
    <message>
        <source>at %1</source>
        <translation>在 %1</translation>
    </message>
    <message>
        <source>×%1 to ×%2</source>
        <translation>×%1 至 ×%2</translation>
    </message>
    <message>
        <source>×%1</source>
        <translation>×%1</translation>
    </message>
    <message>
        <source>corrected from %1 to %2: %3 (%4)</source>
        <translation>由 %1 校正到 %2：%3（%4）</translation>
    </message>
</context>
<context>
    <name>JudgedReading::AtBase</name>
    <message>
        <source>%1 to %2</source>
        <translation>%1 至 %2</translation>
    </message>
    <message>
        <source>%1, %2 %3</source>
        <translation>%1，%2 %3</translation>
    </message>
</context>
<context>
    <name>RuleSource</name>
    <message>
        <source>IEEE 43-2013, minimum PI by thermal class</source>
        <translation>IEEE 43-2013，按耐热等级的最低 PI</translation>
    </message>
    <message>
        <source>IEEE 43-2013, PI not used above 5 000 MΩ</source>
        <translation>IEEE 43-2013，高于 5 000 MΩ 不使用 PI</translation>
    </message>
    <message>
        <source>IEEE 43-2013, DC test voltages</source>
        <translation>IEEE 43-2013，直流试验电压</translation>
    </message>
    <message>
        <source>IEEE 43, halving every 10 °C (an approximation)</source>
        <translation>IEEE 43，每 10 °C 减半（近似）</translation>
    </message>
    <message>
        <source>manufacturer&apos;s minimum</source>
        <translation>制造商最低值</translation>
    </message>
    <message>
        <source>the meter&apos;s limit (COMP)</source>
        <translation>仪表限值（COMP）</translation>
    </message>
    <message>
        <source>rotating machines: recommended minimum IR1min at 40 °C by winding</source>
        <translation>旋转电机：按绕组的 40 °C 推荐最低 IR1min</translation>
    </message>
    <message>
        <source>rotating machines: recommended minimum polarization index (R10min/R1min)</source>
        <translation>旋转电机：推荐最低极化指数（R10min/R1min）</translation>
    </message>
    <message>
        <source>rotating machines: PI not assessed where IR1min at 40 °C exceeds 5 000 MΩ</source>
        <translation>旋转电机：40 °C 时 IR1min 超过 5 000 MΩ 时不评定 PI</translation>
    </message>
    <message>
        <source>rotating machines: the PI may not apply to random-wound windings; shown, not judged</source>
        <translation>旋转电机：PI 可能不适用于散嵌绕组；仅显示，不评定</translation>
    </message>
    <message>
        <source>rotating machines: DC test voltage by rated winding voltage</source>
        <translation>旋转电机：按绕组额定电压的直流试验电压</translation>
    </message>
    <message>
        <source>rotating machines: correction to 40 °C, approximate</source>
        <translation>旋转电机：校正到 40 °C，近似</translation>
    </message>
    <message>
        <source>other equipment: minimum insulation resistance at 20 °C and minimum DC test voltage</source>
        <translation>其他设备：20 °C 最低绝缘电阻和最低直流试验电压</translation>
    </message>
    <message>
        <source>other equipment: correction factors to 20 °C, oil-immersed and solid insulation</source>
        <translation>其他设备：校正到 20 °C 的系数，油浸和固体绝缘</translation>
    </message>
    <message>
        <source>the item&apos;s own limits, from its manufacturer, before the standards&apos; tables</source>
        <translation>设备自身的制造商限值，优先于标准的表</translation>
    </message>
    <message>
        <source>the pass or fail of the meter against the limit set on it</source>
        <translation>仪表按其设定限值给出的合格或不合格</translation>
    </message>
</context>
<context>
    <name>RulesSection</name>
    <message>
        <source>Rules applied</source>
        <translation>所用规则</translation>
    </message>
</context>
<context>
    <name>TestDate</name>
    <message>
        <source>date unknown, downloaded %1</source>
        <translation>日期未知，%1 下载</translation>
    </message>
</context>
<context>
    <name>VersionedRecords</name>
    <message>
        <source>%1 was changed on the server before your edit reached it: the server&apos;s version stays, your edit is kept in the history.</source>
        <translation>%1 在您的修改到达之前已在服务器上被更改：保留服务器上的版本，您的修改保存在历史记录中。</translation>
    </message>
    <message>
        <source>%1 keeps its tag %2: another item on the server has the tag %3. Your edit is kept in the item&apos;s history.</source>
        <translation>%1 保留其标签 %2：服务器上另一设备已使用标签 %3。您的修改保存在该设备的历史记录中。</translation>
    </message>
    <message>
        <source>The register item %1</source>
        <translation>设备登记项 %1</translation>
    </message>
    <message>
        <source>A test&apos;s details</source>
        <translation>一项测试的详细信息</translation>
    </message>
    <message>
        <source>The details of a test of %1</source>
        <translation>%1 的一项测试的详细信息</translation>
    </message>
    <message>
        <source>its tag is another item&apos;s here</source>
        <translation>其标签在本机属于另一设备</translation>
    </message>
    <message>
        <source>%1 on the server was left out (%2).</source>
        <translation>服务器上的%1未被接收（%2）。</translation>
    </message>
</context>
<context>
    <name>ServerDownload</name>
    <message>
        <source>it has no end</source>
        <translation>它没有结束时间</translation>
    </message>
    <message>
        <source>reading %1 is there twice</source>
        <translation>读数 %1 出现了两次</translation>
    </message>
    <message>
        <source>reading %1: %2</source>
        <translation>读数 %1：%2</translation>
    </message>
    <message>
        <source>A session from the server was left out: %1, started %2 (meter %3); %4.</source>
        <translation>来自服务器的一个会话未被接收：%1，开始于 %2（仪表 %3）；%4。</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>未知</translation>
    </message>
    <message>
        <source>A test from the server was left out: %1 (%2).</source>
        <translation>来自服务器的一项测试未被接收：%1（%2）。</translation>
    </message>
</context>
<context>
    <name>ImageFile</name>
    <message>
        <source>%1 cannot be read.</source>
        <translation>无法读取 %1。</translation>
    </message>
    <message>
        <source>%1 is no regular file.</source>
        <translation>%1 不是普通文件。</translation>
    </message>
    <message>
        <source>%1 is larger than %2 MB.</source>
        <translation>%1 大于 %2 MB。</translation>
    </message>
    <message>
        <source>%1 is no picture Tessra can read.</source>
        <translation>%1 不是 Tessra 能读取的图片。</translation>
    </message>
    <message>
        <source>%1 has more than %2 million pixels.</source>
        <translation>%1 超过 %2 百万像素。</translation>
    </message>
    <message>
        <source>%1 is damaged: %2</source>
        <translation>%1 已损坏：%2</translation>
    </message>
</context>
<context>
    <name>TestGroups</name>
    <message>
        <source>%1 · %2</source>
        <translation>%1 · %2</translation>
    </message>
</context>
</TS>
