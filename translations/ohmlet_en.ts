<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>ohmlet::AboutBox</name>
    <message>
        <source>关于软件</source>
        <translation>About</translation>
    </message>
    <message>
        <source>%1V %2版</source>
        <translation>%1, version %2</translation>
    </message>
    <message>
        <source>电话：%1</source>
        <translation>Telephone: %1</translation>
    </message>
    <message>
        <source>网址：%1</source>
        <translation>Web: %1</translation>
    </message>
    <message>
        <source>地址：北京市海淀区示例路18号</source>
        <translation>Address: No. 18 Shili Road, Haidian District, Beijing</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>ohmlet::AppStrings</name>
    <message>
        <source>混凝土电阻率测试仪数据分析软件</source>
        <translation>Ohmlet Concrete Resistivity Analysis</translation>
    </message>
    <message>
        <source>无标题</source>
        <translation>Untitled</translation>
    </message>
    <message>
        <source>维尔马检测仪器有限公司</source>
        <translation>Velmar Testing Instruments Co., Ltd.</translation>
    </message>
</context>
<context>
    <name>ohmlet::ChartExport</name>
    <message>
        <source>无法导出到 %1：只能保存为 PNG 或 PDF 文件。</source>
        <translation>Cannot export to %1: charts are saved as PNG or PDF files only.</translation>
    </message>
    <message>
        <source>无法导出到 %1：图表没有大小。</source>
        <translation>Cannot export to %1: the chart has no size.</translation>
    </message>
    <message>
        <source>无法导出到 %1：图表未能绘制。</source>
        <translation>Cannot export to %1: the chart could not be drawn.</translation>
    </message>
    <message>
        <source>无法写入 %1：%2</source>
        <translation>Cannot write %1: %2</translation>
    </message>
</context>
<context>
    <name>ohmlet::ChartPane</name>
    <message>
        <source>电阻率(kΩ·cm)</source>
        <translation>Resistivity (kΩ·cm)</translation>
    </message>
    <message>
        <source>没有测点</source>
        <translation>No readings</translation>
    </message>
    <message>
        <source> 读数曲线</source>
        <translation> readings</translation>
    </message>
    <message>
        <source>测点号</source>
        <translation>Point</translation>
    </message>
    <message>
        <source>读数</source>
        <translation>Readings</translation>
    </message>
    <message>
        <source> 直方图</source>
        <translation> histogram</translation>
    </message>
    <message>
        <source>测点数</source>
        <translation>Readings</translation>
    </message>
    <message>
        <source>区块1</source>
        <translation>Block 1</translation>
    </message>
    <message>
        <source>区块2</source>
        <translation>Block 2</translation>
    </message>
    <message>
        <source>选中构件总览</source>
        <translation>Ticked components overview</translation>
    </message>
    <message>
        <source>没有选中的构件</source>
        <translation>No ticked components</translation>
    </message>
    <message>
        <source>构件编号</source>
        <translation>Component</translation>
    </message>
    <message>
        <source>，箱体为 p10–p90</source>
        <translation>, box p10–p90</translation>
    </message>
    <message>
        <source>图表</source>
        <translation>Charts</translation>
    </message>
    <message>
        <source>导出图表…</source>
        <translation>Export chart…</translation>
    </message>
    <message>
        <source>没有当前构件</source>
        <translation>No current component</translation>
    </message>
    <message>
        <source> 网格分布</source>
        <translation> grid map</translation>
    </message>
    <message>
        <source>只有网格(W)构件有两块测点的分布图</source>
        <translation>Only grid (W) components have a two-block map</translation>
    </message>
    <message>
        <source>PNG 图像 (*.png)</source>
        <translation>PNG image (*.png)</translation>
    </message>
    <message>
        <source>PDF 文档 (*.pdf)</source>
        <translation>PDF document (*.pdf)</translation>
    </message>
    <message>
        <source>导出图表</source>
        <translation>Export chart</translation>
    </message>
    <message>
        <source>读数曲线</source>
        <translation>Readings</translation>
    </message>
    <message>
        <source>直方图</source>
        <translation>Histogram</translation>
    </message>
    <message>
        <source>网格分布</source>
        <translation>Grid map</translation>
    </message>
    <message>
        <source>构件总览</source>
        <translation>Overview</translation>
    </message>
    <message>
        <source>分布图</source>
        <translation>Map</translation>
    </message>
</context>
<context>
    <name>ohmlet::ChartView</name>
    <message>
        <source>测点 %1：%2 kΩ·cm</source>
        <translation>Point %1: %2 kΩ·cm</translation>
    </message>
    <message>
        <source>%1 kΩ·cm：%2 个测点</source>
        <translation>%1 kΩ·cm: %2 readings</translation>
    </message>
    <message>
        <source>%1
%2 个测点
最小 %3，最大 %4
p10 %5，中位数 %6，p90 %7</source>
        <translation>%1
%2 readings
min %3, max %4
p10 %5, median %6, p90 %7</translation>
    </message>
    <message>
        <source>测点 %1：%2 kΩ·cm（%3）</source>
        <translation>Point %1: %2 kΩ·cm (%3)</translation>
    </message>
    <message>
        <source>测点 %1：%2 kΩ·cm（无效读数）</source>
        <translation>Point %1: %2 kΩ·cm (invalid reading)</translation>
    </message>
</context>
<context>
    <name>ohmlet::ClassLegend</name>
    <message>
        <source>腐蚀等级图例</source>
        <translation>Corrosion classes</translation>
    </message>
    <message>
        <source>腐蚀等级图例（%1）</source>
        <translation type="vanished">Corrosion classes (%1)</translation>
    </message>
    <message>
        <source>%1图例（%2）</source>
        <translation>%1 legend (%2)</translation>
    </message>
</context>
<context>
    <name>ohmlet::ClassNames</name>
    <message>
        <source>可忽略</source>
        <translation>Negligible</translation>
    </message>
    <message>
        <source>低</source>
        <translation>Low</translation>
    </message>
    <message>
        <source>中等</source>
        <translation>Moderate</translation>
    </message>
    <message>
        <source>高</source>
        <translation>High</translation>
    </message>
    <message>
        <source>低至中等</source>
        <translation>Low to moderate</translation>
    </message>
    <message>
        <source>很高</source>
        <translation>Very high</translation>
    </message>
    <message>
        <source>%1–%2（不含%1）</source>
        <translation>%1–%2 (above %1)</translation>
    </message>
    <message>
        <source>普通硅酸盐混凝土，约20 °C，锈蚀风险</source>
        <translation>ordinary Portland cement concrete at about 20 °C: risk of corrosion</translation>
    </message>
    <message>
        <source>钢筋已脱钝时的锈蚀速率</source>
        <translation>corrosion rate once the steel is depassivated</translation>
    </message>
    <message>
        <source>锈蚀速率</source>
        <translation>Corrosion rate</translation>
    </message>
    <message>
        <source>锈蚀风险</source>
        <translation>Corrosion risk</translation>
    </message>
    <message>
        <source>等级</source>
        <translation>Class</translation>
    </message>
</context>
<context>
    <name>ohmlet::ClassTableDialog</name>
    <message>
        <source>编辑用户等级表</source>
        <translation>Edit user class table</translation>
    </message>
    <message>
        <source>等级名称</source>
        <translation>Class name</translation>
    </message>
    <message>
        <source>下限 (kΩ·cm)</source>
        <translation type="vanished">Lower bound (kΩ·cm)</translation>
    </message>
    <message>
        <source>添加等级</source>
        <translation>Add a class</translation>
    </message>
    <message>
        <source>删除最后一级</source>
        <translation>Remove the last class</translation>
    </message>
    <message>
        <source>等级表名称</source>
        <translation>Table name</translation>
    </message>
    <message>
        <source>从风险最低的等级起，每级填写其读数下限；最后一级取其余读数。</source>
        <translation type="vanished">From the lowest risk down, give each class the lowest reading it takes; the last class takes the rest.</translation>
    </message>
    <message>
        <source>其余</source>
        <translation>the rest</translation>
    </message>
    <message>
        <source>第 %1 级的下限须是整数。</source>
        <translation type="vanished">The lower bound of class %1 must be a whole number.</translation>
    </message>
    <message>
        <source>界限 (kΩ·cm)</source>
        <translation>Bound (kΩ·cm)</translation>
    </message>
    <message>
        <source>从风险最低的等级起，每级填写其界限：高于界限的读数属于该级；最后一级取其余读数。</source>
        <translation>From the lowest risk down, give each class its bound: readings above it belong to the class; the last class takes the rest.</translation>
    </message>
    <message>
        <source>第 %1 级的界限须是整数。</source>
        <translation>The bound of class %1 must be a whole number.</translation>
    </message>
</context>
<context>
    <name>ohmlet::Command</name>
    <message>
        <source>打开(&amp;O)...	Ctrl+O</source>
        <translation>&amp;Open...	Ctrl+O</translation>
    </message>
    <message>
        <source>打开一个现有文档
打开</source>
        <translation>Open an existing document
Open</translation>
    </message>
    <message>
        <source>保存(&amp;S)	Ctrl+S</source>
        <translation>&amp;Save	Ctrl+S</translation>
    </message>
    <message>
        <source>保存活动文档
保存</source>
        <translation>Save the active document
Save</translation>
    </message>
    <message>
        <source>保存选择构件(&amp;A)...</source>
        <translation>Save Checked Comp&amp;onents...</translation>
    </message>
    <message>
        <source>保存当前文件中选择的构件
保存选择的构件</source>
        <translation>Save the checked components of the current file
Save checked components</translation>
    </message>
    <message>
        <source>另存为(&amp;L)...</source>
        <translation>Save &amp;As...</translation>
    </message>
    <message>
        <source>将活动文档以一个新文件名保存
另存为</source>
        <translation>Save the active document under a new name
Save As</translation>
    </message>
    <message>
        <source>打印(&amp;P)...	Ctrl+P</source>
        <translation>&amp;Print...	Ctrl+P</translation>
    </message>
    <message>
        <source>打印活动文档
打印</source>
        <translation>Print the active document
Print</translation>
    </message>
    <message>
        <source>打印预览(&amp;V)</source>
        <translation>Print Pre&amp;view</translation>
    </message>
    <message>
        <source>显示整页
打印预览</source>
        <translation>Show whole pages
Print Preview</translation>
    </message>
    <message>
        <source>打印设置(&amp;R)...</source>
        <translation>P&amp;rint Setup...</translation>
    </message>
    <message>
        <source>更改打印机和打印选项
打印设置</source>
        <translation>Change the printer and printing options
Print Setup</translation>
    </message>
    <message>
        <source>打印格式设置(&amp;G)...</source>
        <translation>Report Layout Settin&amp;gs...</translation>
    </message>
    <message>
        <source>打印格式设置
打印设置</source>
        <translation>Report layout settings
Report Layout</translation>
    </message>
    <message>
        <source>导出PDF(&amp;D)...</source>
        <translation>Export P&amp;DF...</translation>
    </message>
    <message>
        <source>将选择的构件的检测报告保存为PDF文件
导出PDF</source>
        <translation>Save the inspection report of the checked components as a PDF file
Export PDF</translation>
    </message>
    <message>
        <source>最近文件</source>
        <translation>Recent Files</translation>
    </message>
    <message>
        <source>打开该文档</source>
        <translation>Open this document</translation>
    </message>
    <message>
        <source>退出(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>退出应用程序；提示保存文档
退出</source>
        <translation>Quit the program; asks to save the document
Exit</translation>
    </message>
    <message>
        <source>数据传输(&amp;T)</source>
        <translation>Data &amp;Transfer</translation>
    </message>
    <message>
        <source>将仪器中的数据传输到计算机中
数据传输</source>
        <translation>Transfer the instrument&apos;s data to the computer
Data Transfer</translation>
    </message>
    <message>
        <source>设置生成word报告的工程参数
设置工程参数</source>
        <translation>Set the project details for the Word report
Project Details</translation>
    </message>
    <message>
        <source>生成word报告(&amp;W)</source>
        <translation>&amp;Word Report</translation>
    </message>
    <message>
        <source>生成word报告
生成word报告</source>
        <translation>Write a Word report
Word Report</translation>
    </message>
    <message>
        <source>数据导入Excel(&amp;E)</source>
        <translation>&amp;Export to Excel</translation>
    </message>
    <message>
        <source>数据导入excel表格
数据导入Excel</source>
        <translation>Write the data into an Excel workbook
Export to Excel</translation>
    </message>
    <message>
        <source>工具栏(&amp;T)</source>
        <translation>&amp;Toolbar</translation>
    </message>
    <message>
        <source>显示或隐藏工具栏
显隐工具栏</source>
        <translation>Show or hide the toolbar
Toggle Toolbar</translation>
    </message>
    <message>
        <source>状态栏(&amp;S)</source>
        <translation>&amp;Status Bar</translation>
    </message>
    <message>
        <source>显示或隐藏状态栏
显隐状态栏</source>
        <translation>Show or hide the status bar
Toggle Status Bar</translation>
    </message>
    <message>
        <source>控制面板(&amp;W)</source>
        <translation>Control &amp;Panel</translation>
    </message>
    <message>
        <source>显示/隐藏控制面板
显示/隐藏控制面板</source>
        <translation>Show/hide the control panel
Show/Hide Control Panel</translation>
    </message>
    <message>
        <source>关于(&amp;A)...</source>
        <translation>&amp;About...</translation>
    </message>
    <message>
        <source>显示程序信息，版本号和版权
关于</source>
        <translation>Show the program&apos;s information, version and copyright
About</translation>
    </message>
    <message>
        <source>打开使用说明
帮助</source>
        <translation>Open the user guide
Help</translation>
    </message>
    <message>
        <source>在构件列表区选中的构件前插入一个新构件
插入构件</source>
        <translation>Insert a new component before the one selected in the component list
Insert Component</translation>
    </message>
    <message>
        <source>删除构件列表区选中的构件
删除构件</source>
        <translation>Delete the component selected in the component list
Delete Component</translation>
    </message>
    <message>
        <source>在选中一行的上面插入数据
上面插入数据</source>
        <translation>Insert a reading above the selected row
Insert Reading Above</translation>
    </message>
    <message>
        <source>在选中一行的下面插入数据
下面插入数据</source>
        <translation>Insert a reading below the selected row
Insert Reading Below</translation>
    </message>
    <message>
        <source>删除选中的数据
删除单个数据</source>
        <translation>Delete the selected reading
Delete Reading</translation>
    </message>
    <message>
        <source>剪切选定的数据并放到剪贴板上
剪切</source>
        <translation>Cut the selected readings to the clipboard
Cut</translation>
    </message>
    <message>
        <source>复制选定的数据到剪贴板
复制</source>
        <translation>Copy the selected readings to the clipboard
Copy</translation>
    </message>
    <message>
        <source>把剪贴板中的数据粘贴到选中的单元格
粘贴</source>
        <translation>Paste the clipboard&apos;s readings into the selected cells
Paste</translation>
    </message>
    <message>
        <source>撤消最后一步操作
撤消</source>
        <translation>Undo the last action
Undo</translation>
    </message>
    <message>
        <source>重做上次撤消的操作
重做</source>
        <translation>Redo the last undone action
Redo</translation>
    </message>
    <message>
        <source>关闭(&amp;C)</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>关闭活动文档
关闭</source>
        <translation>Close the active document
Close</translation>
    </message>
    <message>
        <source>Word 文档(&amp;W)...</source>
        <translation>&amp;Word document...</translation>
    </message>
    <message>
        <source>将选择的构件保存为Word文档
导出Word</source>
        <translation>Save the ticked components as a Word document
Export Word</translation>
    </message>
    <message>
        <source>Excel 工作簿(&amp;E)...</source>
        <translation>&amp;Excel workbook...</translation>
    </message>
    <message>
        <source>将选择的构件保存为Excel工作簿
导出Excel</source>
        <translation>Save the ticked components as an Excel workbook
Export Excel</translation>
    </message>
    <message>
        <source>CSV 文件(&amp;C)...</source>
        <translation>&amp;CSV file...</translation>
    </message>
    <message>
        <source>将选择的构件的数据保存为CSV文件
导出CSV</source>
        <translation>Save the readings of the ticked components as a CSV file
Export CSV</translation>
    </message>
    <message>
        <source>报告参数(&amp;R)...</source>
        <translation>&amp;Report parameters...</translation>
    </message>
    <message>
        <source>应用判定标准(&amp;J)...</source>
        <translation>Apply &amp;criterion...</translation>
    </message>
    <message>
        <source>对所有勾选的构件应用同一判定标准
应用判定标准</source>
        <translation>Apply one pass criterion to all ticked components
Apply criterion</translation>
    </message>
    <message>
        <source>RILEM 等级表(&amp;R)</source>
        <translation>&amp;RILEM classes</translation>
    </message>
    <message>
        <source>按 RILEM 等级表划分腐蚀等级
RILEM 等级表</source>
        <translation>Classify readings by the RILEM table
RILEM classes</translation>
    </message>
    <message>
        <source>Langford 等级表(&amp;L)</source>
        <translation>&amp;Langford classes</translation>
    </message>
    <message>
        <source>按 Langford 等级表划分腐蚀等级
Langford 等级表</source>
        <translation>Classify readings by the Langford table
Langford classes</translation>
    </message>
    <message>
        <source>用户等级表(&amp;U)</source>
        <translation>&amp;User classes</translation>
    </message>
    <message>
        <source>按用户的等级表（classtableini.ini）划分腐蚀等级
用户等级表</source>
        <translation>Classify readings by your own table (classtableini.ini)
User classes</translation>
    </message>
    <message>
        <source>帮助主题(&amp;H)</source>
        <translation>&amp;Help topics</translation>
    </message>
    <message>
        <source>插入构件(&amp;I)</source>
        <translation>&amp;Insert component</translation>
    </message>
    <message>
        <source>删除构件(&amp;D)...</source>
        <translation>&amp;Delete component...</translation>
    </message>
    <message>
        <source>上面插入数据(&amp;A)</source>
        <translation>Insert reading &amp;above</translation>
    </message>
    <message>
        <source>下面插入数据(&amp;B)</source>
        <translation>Insert reading &amp;below</translation>
    </message>
    <message>
        <source>删除数据(&amp;L)</source>
        <translation>De&amp;lete reading</translation>
    </message>
    <message>
        <source>剪切(&amp;T)</source>
        <translation>Cu&amp;t</translation>
    </message>
    <message>
        <source>复制(&amp;C)</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>粘贴(&amp;P)</source>
        <translation>&amp;Paste</translation>
    </message>
    <message>
        <source>撤消(&amp;U)</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>重做(&amp;R)</source>
        <translation>&amp;Redo</translation>
    </message>
    <message>
        <source>建立新文档
新建</source>
        <translation>Create a new document
New</translation>
    </message>
    <message>
        <source>打印
打印</source>
        <translation>Print
Print</translation>
    </message>
    <message>
        <source>打印预览
打印预览</source>
        <translation>Print preview
Print Preview</translation>
    </message>
    <message>
        <source>编辑用户等级表(&amp;E)...</source>
        <translation>&amp;Edit user class table...</translation>
    </message>
    <message>
        <source>编辑用户等级表的等级名称与下限
编辑用户等级表</source>
        <translation type="vanished">Edit the names and lower bounds of the user class table
Edit user class table</translation>
    </message>
    <message>
        <source>编辑用户等级表的等级名称与界限
编辑用户等级表</source>
        <translation>Edit the names and bounds of the user class table
Edit user class table</translation>
    </message>
    <message>
        <source>测区网格(&amp;G)...</source>
        <translation>Survey &amp;Grid...</translation>
    </message>
    <message>
        <source>设置构件读数所在的测区网格与测量条件
测区网格</source>
        <translation>Set the survey grid of the readings and the conditions of the measurement
Survey Grid</translation>
    </message>
</context>
<context>
    <name>ohmlet::ComponentFields</name>
    <message>
        <source>构件名称</source>
        <translation>Component name</translation>
    </message>
    <message>
        <source>构件编号</source>
        <translation>Component no.</translation>
    </message>
    <message>
        <source>设计值(kΩ·cm)</source>
        <translation>Design value (kΩ·cm)</translation>
    </message>
    <message>
        <source>允许负偏差</source>
        <translation>Lower tolerance</translation>
    </message>
    <message>
        <source>允许正偏差</source>
        <translation>Upper tolerance</translation>
    </message>
    <message>
        <source>电阻最大值</source>
        <translation>Maximum</translation>
    </message>
    <message>
        <source>电阻最小值</source>
        <translation>Minimum</translation>
    </message>
    <message>
        <source>数据个数</source>
        <translation>Readings</translation>
    </message>
    <message>
        <source>平均电阻率</source>
        <translation>Average resistivity</translation>
    </message>
    <message>
        <source>合格点数</source>
        <translation>Passing points</translation>
    </message>
    <message>
        <source>合格率</source>
        <translation>Pass rate</translation>
    </message>
    <message>
        <source>所有测点个数</source>
        <translation>All points</translation>
    </message>
    <message>
        <source>所有合格测点数</source>
        <translation>All passing points</translation>
    </message>
    <message>
        <source>整体合格率</source>
        <translation>Overall pass rate</translation>
    </message>
    <message>
        <source>当前构件</source>
        <translation>Current component</translation>
    </message>
    <message>
        <source>yyyy年M月d日</source>
        <translation>yyyy-MM-dd</translation>
    </message>
    <message>
        <source>测试日期</source>
        <translation>Test date</translation>
    </message>
    <message>
        <source>全部构件</source>
        <translation>All components</translation>
    </message>
    <message>
        <source>判定标准</source>
        <translation>Criterion</translation>
    </message>
    <message>
        <source>不合格点数</source>
        <translation>Failing points</translation>
    </message>
    <message>
        <source>无效读数</source>
        <translation>Invalid readings</translation>
    </message>
    <message>
        <source>最小值 ρ ≥ X</source>
        <translation>Minimum ρ ≥ X</translation>
    </message>
    <message>
        <source>设计值及偏差</source>
        <translation>Design value and tolerances</translation>
    </message>
    <message>
        <source>判定方式</source>
        <translation>Criterion kind</translation>
    </message>
    <message>
        <source>数值必须是有限的数</source>
        <translation>the values must be finite numbers</translation>
    </message>
    <message>
        <source>允许负偏差必须小于或等于0，否则设计值本身也不合格</source>
        <translation>the lower tolerance must be 0 or below, or the design value itself fails</translation>
    </message>
    <message>
        <source>允许正偏差必须大于或等于0，否则设计值本身也不合格</source>
        <translation>the upper tolerance must be 0 or above, or the design value itself fails</translation>
    </message>
    <message>
        <source>最小值必须大于0且小于仪器量程上限（%1 kΩ·cm）</source>
        <translation>the minimum must be above 0 and below the overflow limit (%1 kΩ·cm)</translation>
    </message>
    <message>
        <source>判定标准未改变：%1。</source>
        <translation>The criterion was not changed: %1.</translation>
    </message>
    <message>
        <source>最小值(kΩ·cm)</source>
        <translation>Minimum (kΩ·cm)</translation>
    </message>
</context>
<context>
    <name>ohmlet::ComponentFilterRow</name>
    <message>
        <source>按编号或名称筛选</source>
        <translation>Filter by number or name</translation>
    </message>
</context>
<context>
    <name>ohmlet::ComponentListModel</name>
    <message>
        <source>yyyy年M月d日</source>
        <translation>yyyy-MM-dd</translation>
    </message>
    <message>
        <source>序号</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>测区编号</source>
        <translation>Zone no.</translation>
    </message>
    <message>
        <source>测点数</source>
        <translation>Points</translation>
    </message>
    <message>
        <source>测试日期    </source>
        <translation>Test date    </translation>
    </message>
    <message>
        <source>构件名称</source>
        <translation>Name</translation>
    </message>
</context>
<context>
    <name>ohmlet::ComponentListView</name>
    <message>
        <source>全选</source>
        <translation>All</translation>
    </message>
    <message>
        <source>全不选</source>
        <translation>None</translation>
    </message>
    <message>
        <source>反选</source>
        <translation>Invert</translation>
    </message>
</context>
<context>
    <name>ohmlet::ComponentStatsBox</name>
    <message>
        <source>统计与腐蚀等级</source>
        <translation>Statistics and corrosion classes</translation>
    </message>
    <message>
        <source>等级分布</source>
        <translation>Classes</translation>
    </message>
    <message>
        <source>数据个数</source>
        <translation type="vanished">Readings</translation>
    </message>
    <message>
        <source>平均值</source>
        <translation>Mean</translation>
    </message>
    <message>
        <source>中位数</source>
        <translation>Median</translation>
    </message>
    <message>
        <source>标准差</source>
        <translation>Std. dev.</translation>
    </message>
    <message>
        <source>变异系数</source>
        <translation>CV</translation>
    </message>
    <message>
        <source>最小值</source>
        <translation>Minimum</translation>
    </message>
    <message>
        <source>最大值</source>
        <translation>Maximum</translation>
    </message>
    <message>
        <source>合格点数</source>
        <translation>Passing points</translation>
    </message>
    <message>
        <source>合格率</source>
        <translation>Pass rate</translation>
    </message>
    <message>
        <source>有效读数</source>
        <translation>Valid readings</translation>
    </message>
    <message>
        <source>无效读数</source>
        <translation>Invalid readings</translation>
    </message>
</context>
<context>
    <name>ohmlet::CriterionDialog</name>
    <message>
        <source>应用判定标准</source>
        <translation>Apply criterion</translation>
    </message>
    <message>
        <source>对已勾选的 %1 个构件应用同一判定标准：
设计值 + 允许负偏差 ≤ 读数 ≤ 设计值 + 允许正偏差 为合格。</source>
        <translation type="vanished">Apply one criterion to the %1 ticked components:
a reading passes when design value + lower tolerance ≤ reading ≤ design value + upper tolerance.</translation>
    </message>
    <message>
        <source>设计值</source>
        <translation>Design value</translation>
    </message>
    <message>
        <source>允许负偏差</source>
        <translation>Lower tolerance</translation>
    </message>
    <message>
        <source>允许正偏差</source>
        <translation>Upper tolerance</translation>
    </message>
    <message>
        <source>没有勾选的构件。</source>
        <translation>No component is ticked.</translation>
    </message>
    <message>
        <source>允许负偏差不能大于允许正偏差。</source>
        <translation type="vanished">The lower tolerance cannot be above the upper tolerance.</translation>
    </message>
    <message>
        <source>合格范围：%1 ~ %2 kΩ·cm</source>
        <translation>Pass range: %1 to %2 kΩ·cm</translation>
    </message>
    <message>
        <source>最小值：读数 ≥ X 为合格</source>
        <translation>Minimum: a reading ≥ X passes</translation>
    </message>
    <message>
        <source>设计值及偏差：设计值 + 允许负偏差 ≤ 读数 ≤ 设计值 + 允许正偏差</source>
        <translation>Design value and tolerances: design value + lower tolerance ≤ reading ≤ design value + upper tolerance</translation>
    </message>
    <message>
        <source>对已勾选的 %1 个构件应用同一判定标准。无效读数（≤ 0 或 ≥ %2 kΩ·cm）不参与判定。</source>
        <translation>Apply one criterion to the %1 ticked components. Invalid readings (≤ 0 or ≥ %2 kΩ·cm) are left out of the verdict.</translation>
    </message>
    <message>
        <source>最小值</source>
        <translation>Minimum</translation>
    </message>
    <message>
        <source>最小值必须大于0且小于 %1 kΩ·cm。</source>
        <translation>The minimum must be above 0 and below %1 kΩ·cm.</translation>
    </message>
    <message>
        <source>合格：读数 ≥ %1 kΩ·cm</source>
        <translation>Passes: reading ≥ %1 kΩ·cm</translation>
    </message>
</context>
<context>
    <name>ohmlet::DataView</name>
    <message>
        <source><byte value="xd"/>
测点号</source>
        <translation>
Point</translation>
    </message>
    <message>
        <source><byte value="xd"/>
电阻率(kΩ*cm)</source>
        <translation>
Resistivity (kΩ*cm)</translation>
    </message>
    <message>
        <source>“%1”不是数字，原值保留。</source>
        <translation type="vanished">&quot;%1&quot; is not a number; the reading is unchanged.</translation>
    </message>
    <message>
        <source>读数须是整数：“%1”未保存，原值保留。</source>
        <translation>Readings are whole numbers: “%1” was not stored; the reading keeps its value.</translation>
    </message>
    <message>
        <source>✗</source>
        <translation>✗</translation>
    </message>
    <message>
        <source>无效</source>
        <translation>invalid</translation>
    </message>
    <message>
        <source>不合格：不满足本构件的判定标准</source>
        <translation>Fails: outside this component&apos;s criterion</translation>
    </message>
    <message>
        <source>无效读数（无接触或超出量程）：不计入统计和合格率</source>
        <translation>Invalid reading (no contact or off the scale): left out of the statistics and the pass rate</translation>
    </message>
    <message>
        <source>合格</source>
        <translation>Passes</translation>
    </message>
</context>
<context>
    <name>ohmlet::GridDialog</name>
    <message>
        <source>未设</source>
        <translation>not set</translation>
    </message>
    <message>
        <source>例如：干燥、潮湿、饱水</source>
        <translation>e.g. dry, damp, saturated</translation>
    </message>
    <message>
        <source>例如：打磨、湿润</source>
        <translation>e.g. ground, wetted</translation>
    </message>
    <message>
        <source>测区网格</source>
        <translation>Survey Grid</translation>
    </message>
    <message>
        <source>清除网格</source>
        <translation>Clear Grid</translation>
    </message>
    <message>
        <source>网格</source>
        <translation>Grid</translation>
    </message>
    <message>
        <source>行数</source>
        <translation>Rows</translation>
    </message>
    <message>
        <source>列数</source>
        <translation>Columns</translation>
    </message>
    <message>
        <source>列间距 (mm)</source>
        <translation>Column spacing (mm)</translation>
    </message>
    <message>
        <source>行间距 (mm)</source>
        <translation>Row spacing (mm)</translation>
    </message>
    <message>
        <source>逐行，每行从同一侧开始</source>
        <translation>Along rows, each from the same side</translation>
    </message>
    <message>
        <source>逐行往返（蛇形）</source>
        <translation>Along rows, back and forth (serpentine)</translation>
    </message>
    <message>
        <source>逐列，每列从同一侧开始</source>
        <translation>Along columns, each from the same side</translation>
    </message>
    <message>
        <source>逐列往返（蛇形）</source>
        <translation>Along columns, back and forth (serpentine)</translation>
    </message>
    <message>
        <source>测读顺序</source>
        <translation>Reading order</translation>
    </message>
    <message>
        <source>左上</source>
        <translation>Top left</translation>
    </message>
    <message>
        <source>右上</source>
        <translation>Top right</translation>
    </message>
    <message>
        <source>左下</source>
        <translation>Bottom left</translation>
    </message>
    <message>
        <source>右下</source>
        <translation>Bottom right</translation>
    </message>
    <message>
        <source>第一个读数</source>
        <translation>First reading</translation>
    </message>
    <message>
        <source>测量条件</source>
        <translation>Conditions</translation>
    </message>
    <message>
        <source>探头间距 (mm)</source>
        <translation>Probe spacing (mm)</translation>
    </message>
    <message>
        <source>混凝土温度 (°C)</source>
        <translation>Concrete temperature (°C)</translation>
    </message>
    <message>
        <source>含水状态</source>
        <translation>Moisture state</translation>
    </message>
    <message>
        <source>表面状况</source>
        <translation>Surface condition</translation>
    </message>
    <message>
        <source>备注</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>应用于</source>
        <translation>Apply to</translation>
    </message>
    <message>
        <source>当前构件 %1</source>
        <translation>The current component %1</translation>
    </message>
    <message>
        <source>当前构件（无）</source>
        <translation>The current component (none)</translation>
    </message>
    <message>
        <source>所有勾选的构件（%1 个）</source>
        <translation>All ticked components (%1)</translation>
    </message>
    <message>
        <source>没有当前构件。</source>
        <translation>There is no current component.</translation>
    </message>
    <message>
        <source>没有勾选的构件。</source>
        <translation>No component is ticked.</translation>
    </message>
    <message>
        <source>间距须为大于 0、不超过 %1 的毫米数，或留空。</source>
        <translation>A spacing must be millimetres above 0 and at most %1, or left empty.</translation>
    </message>
    <message>
        <source>列间距和行间距须同时填写，或同时留空（此时图上按格计数）。</source>
        <translation>Give both the column and the row spacing, or leave both empty (the map then counts cells).</translation>
    </message>
    <message>
        <source>探头间距须为大于 0、不超过 %1 的毫米数，或留空。</source>
        <translation>The probe spacing must be millimetres above 0 and at most %1, or left empty.</translation>
    </message>
    <message>
        <source>混凝土温度须在 %1 到 %2 °C 之间，或留空。</source>
        <translation>The concrete temperature must be between %1 and %2 °C, or left empty.</translation>
    </message>
    <message>
        <source>没有当前构件可预览。</source>
        <translation>There is no current component to preview.</translation>
    </message>
    <message>
        <source>当前构件 %1 个读数中有 %2 个超出网格，不会画在图上。</source>
        <translation>%2 of the current component's %1 readings lie outside the grid and are not drawn.</translation>
    </message>
    <message>
        <source>当前构件 %1 个读数；网格中有 %2 个格子没有读数。</source>
        <translation>The current component has %1 readings; %2 cells of the grid have none.</translation>
    </message>
    <message>
        <source>当前构件 %1 个读数正好填满网格。</source>
        <translation>The current component's %1 readings fill the grid exactly.</translation>
    </message>
</context>
<context>
    <name>ohmlet::MainWindow</name>
    <message>
        <source>文件(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>工具(&amp;E)</source>
        <translation>&amp;Tools</translation>
    </message>
    <message>
        <source>查看(&amp;V)</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>帮助(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>语言(&amp;L)</source>
        <translation>&amp;Language</translation>
    </message>
    <message>
        <source>下次启动时仍使用当前的界面语言。</source>
        <translation>The program keeps its current language at the next start.</translation>
    </message>
    <message>
        <source>界面语言将在下次启动程序时更换。报告、Word和Excel文件仍为中文。</source>
        <translation>The language changes the next time the program starts. Reports, Word and Excel files stay in Chinese.</translation>
    </message>
    <message>
        <source>工具栏</source>
        <translation>Toolbar</translation>
    </message>
    <message>
        <source>就绪</source>
        <translation>Ready</translation>
    </message>
    <message>
        <source>大写</source>
        <translation>CAPS</translation>
    </message>
    <message>
        <source>滚动</source>
        <translation>SCRL</translation>
    </message>
    <message>
        <source>电阻率数据文件(*.DZL)</source>
        <translation>Resistivity data files (*.DZL)</translation>
    </message>
    <message>
        <source>PDF 文件 (*.pdf)</source>
        <translation>PDF files (*.pdf)</translation>
    </message>
    <message>
        <source>电阻率测试仪数据文件(*.DZL)</source>
        <translation>Resistivity tester data files (*.DZL)</translation>
    </message>
    <message>
        <source>原始数据文件 (*.DZL)</source>
        <translation>Raw data files (*.DZL)</translation>
    </message>
    <message>
        <source>是否保存对 %1 的更改?</source>
        <translation>Save changes to %1?</translation>
    </message>
    <message>
        <source>无法保存文件 %1，原有文件没有改动。
%2</source>
        <translation>Cannot save the file %1; the existing file is unchanged.
%2</translation>
    </message>
    <message>
        <source>无法打开文件 %1。
内存不足。</source>
        <translation>Cannot open the file %1.
Not enough memory.</translation>
    </message>
    <message>
        <source>无法打开文件 %1。
%2</source>
        <translation>Cannot open the file %1.
%2</translation>
    </message>
    <message>
        <source>电阻率测试仪数据文件.DZL</source>
        <translation>Resistivity tester data.DZL</translation>
    </message>
    <message>
        <source>无法导出PDF文件 %1。
%2</source>
        <translation>Cannot export the PDF file %1.
%2</translation>
    </message>
    <message>
        <source>创建Word2000服务失败!</source>
        <translation>Could not write the Word report!</translation>
    </message>
    <message>
        <source>创建Excel服务失败!</source>
        <translation>Could not write the Excel workbook!</translation>
    </message>
    <message>
        <source>
没有可以打开该文件的程序，文件已保存在：
</source>
        <translation>
No program can open this file; it was saved as:
</translation>
    </message>
    <message>
        <source>图表(&amp;C)</source>
        <translation>C&amp;harts</translation>
    </message>
    <message>
        <source>显示/隐藏图表</source>
        <translation>Show or hide the charts</translation>
    </message>
    <message>
        <source>Word 文档 (*.docx)</source>
        <translation>Word document (*.docx)</translation>
    </message>
    <message>
        <source>Excel 工作簿 (*.xlsx)</source>
        <translation>Excel workbook (*.xlsx)</translation>
    </message>
    <message>
        <source>CSV 文件 (*.csv)</source>
        <translation>CSV file (*.csv)</translation>
    </message>
    <message>
        <source>编辑(&amp;J)</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>确实要删除构件 %1 吗？</source>
        <translation>Delete component %1?</translation>
    </message>
    <message>
        <source>导出(&amp;E)</source>
        <translation>E&amp;xport</translation>
    </message>
    <message>
        <source>已导出到 %1</source>
        <translation>Exported to %1</translation>
    </message>
    <message>
        <source>腐蚀等级表(&amp;C)</source>
        <translation>Corrosion &amp;classes</translation>
    </message>
    <message>
        <source>腐蚀等级表</source>
        <translation>Corrosion classes</translation>
    </message>
    <message>
        <source>用户等级表不能使用，仍按 RILEM 等级表划分：
</source>
        <translation>Your class table cannot be used; readings stay classified by RILEM:
</translation>
    </message>
    <message>
        <source>无法写入文件 %1：%2</source>
        <translation>Cannot write the file %1: %2</translation>
    </message>
    <message>
        <source>无法打开帮助：没有可以显示它的程序，或找不到文件：
</source>
        <translation>The help cannot be opened: no program can show it, or the file is missing:
</translation>
    </message>
    <message>
        <source>编辑用户等级表</source>
        <translation>Edit user class table</translation>
    </message>
    <message>
        <source>我的等级表</source>
        <translation>My class table</translation>
    </message>
    <message>
        <source>文件 %1 已打开，但其附加信息有问题：</source>
        <translation>%1 was opened, but its extras have problems:</translation>
    </message>
    <message>
        <source>interpretini.ini 中有不能使用的设置，已改用默认值：
</source>
        <translation>interpretini.ini holds settings that cannot be used; their defaults are used instead:
</translation>
    </message>
</context>
<context>
    <name>ohmlet::MapDrawing</name>
    <message>
        <source>探头间距 %1 mm</source>
        <translation>probe spacing %1 mm</translation>
    </message>
    <message>
        <source>温度 %1 °C</source>
        <translation>temperature %1 °C</translation>
    </message>
    <message>
        <source>含水状态 %1</source>
        <translation>moisture %1</translation>
    </message>
    <message>
        <source>表面 %1</source>
        <translation>surface %1</translation>
    </message>
</context>
<context>
    <name>ohmlet::MapView</name>
    <message>
        <source>显示：</source>
        <translation>Show:</translation>
    </message>
    <message>
        <source>测点单元格</source>
        <translation>Cells of the readings</translation>
    </message>
    <message>
        <source>插值分布与等级边界</source>
        <translation>Interpolated field with class boundaries</translation>
    </message>
    <message>
        <source> 分布图</source>
        <translation> map</translation>
    </message>
    <message>
        <source>没有当前构件</source>
        <translation>No current component</translation>
    </message>
    <message>
        <source>此构件没有测区网格：设置网格的行数、列数和测点顺序后即显示分布图。</source>
        <translation>This component has no survey grid: set its rows, columns and reading order to see the map.</translation>
    </message>
    <message>
        <source>x (mm)</source>
        <translation>x (mm)</translation>
    </message>
    <message>
        <source>y (mm)</source>
        <translation>y (mm)</translation>
    </message>
    <message>
        <source>另有 %1 个读数超出网格，未画出</source>
        <translation>%1 more readings lie beyond the grid and are not drawn</translation>
    </message>
    <message>
        <source>列号</source>
        <translation>Column</translation>
    </message>
    <message>
        <source>行号</source>
        <translation>Row</translation>
    </message>
    <message>
        <source>不合格</source>
        <translation>Failing</translation>
    </message>
    <message>
        <source>无效读数</source>
        <translation>Invalid reading</translation>
    </message>
    <message>
        <source>无读数</source>
        <translation>No reading</translation>
    </message>
    <message>
        <source>第 %1 行第 %2 列：没有读数</source>
        <translation>Row %1, column %2: no reading</translation>
    </message>
    <message>
        <source>，</source>
        <translation>, </translation>
    </message>
    <message>
        <source>合格</source>
        <translation>Passing</translation>
    </message>
    <message>
        <source>测点 %1：%2 kΩ·cm（%3）
第 %4 行第 %5 列</source>
        <translation>Point %1: %2 kΩ·cm (%3)
row %4, column %5</translation>
    </message>
</context>
<context>
    <name>ohmlet::OhmletApp</name>
    <message>
        <source>内存不足，操作没有完成。文档保持原样。</source>
        <translation>Not enough memory: the operation was not completed. The document is unchanged.</translation>
    </message>
</context>
<context>
    <name>ohmlet::PanelBar</name>
    <message>
        <source>工作区</source>
        <translation>Workspace</translation>
    </message>
</context>
<context>
    <name>ohmlet::PrintSettingsDialog</name>
    <message>
        <source>打印设置</source>
        <translation>Print Settings</translation>
    </message>
    <message>
        <source>打印页眉</source>
        <translation>Print header</translation>
    </message>
    <message>
        <source>打印页脚</source>
        <translation>Print footer</translation>
    </message>
    <message>
        <source>打印页码</source>
        <translation>Print page numbers</translation>
    </message>
    <message>
        <source>页眉内容</source>
        <translation>Header text</translation>
    </message>
    <message>
        <source>页脚内容</source>
        <translation>Footer text</translation>
    </message>
    <message>
        <source>页码格式</source>
        <translation>Page number format</translation>
    </message>
    <message>
        <source>起始页码</source>
        <translation>First page number</translation>
    </message>
    <message>
        <source>页码位置</source>
        <translation>Page number position</translation>
    </message>
    <message>
        <source>确 定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取 消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>底部居右</source>
        <translation>Bottom right</translation>
    </message>
    <message>
        <source>底部居中</source>
        <translation>Bottom centre</translation>
    </message>
    <message>
        <source>底部居左</source>
        <translation>Bottom left</translation>
    </message>
    <message>
        <source>顶部居右</source>
        <translation>Top right</translation>
    </message>
    <message>
        <source>顶部居中</source>
        <translation>Top centre</translation>
    </message>
    <message>
        <source>顶部居左</source>
        <translation>Top left</translation>
    </message>
</context>
<context>
    <name>ohmlet::ReportParameterDialog</name>
    <message>
        <source>检测报告1</source>
        <translation>Inspection report 1</translation>
    </message>
    <message>
        <source>检测报告2</source>
        <translation>Inspection report 2</translation>
    </message>
    <message>
        <source>检测报告3</source>
        <translation>Inspection report 3</translation>
    </message>
    <message>
        <source>检测报告4</source>
        <translation>Inspection report 4</translation>
    </message>
    <message>
        <source>甘肃格式</source>
        <translation>Gansu layout</translation>
    </message>
    <message>
        <source>吉林报告</source>
        <translation>Jilin report</translation>
    </message>
    <message>
        <source>报告参数</source>
        <translation>Report parameters</translation>
    </message>
    <message>
        <source>WORD报告格式</source>
        <translation>Word report layout</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>打印报告附腐蚀等级与统计汇总</source>
        <translation>Add the corrosion class and statistics summary to the printed report</translation>
    </message>
    <message>
        <source>打印报告附图表页</source>
        <translation>Add chart pages to the printed report</translation>
    </message>
    <message>
        <source>打印报告附分布图页（有测区网格的构件）</source>
        <translation>Map pages in the printed report (components with a survey grid)</translation>
    </message>
</context>
<context>
    <name>ohmlet::ReportParameterPage</name>
    <message>
        <source>仪器编号</source>
        <translation>Instrument no.</translation>
    </message>
    <message>
        <source>仪器设备</source>
        <translation>Instrument</translation>
    </message>
    <message>
        <source>委托单位</source>
        <translation>Client</translation>
    </message>
    <message>
        <source>委托日期</source>
        <translation>Commission date</translation>
    </message>
    <message>
        <source>委托编号</source>
        <translation>Commission no.</translation>
    </message>
    <message>
        <source>工程名称</source>
        <translation>Project name</translation>
    </message>
    <message>
        <source>工程地址</source>
        <translation>Project address</translation>
    </message>
    <message>
        <source>工程地点</source>
        <translation>Project site</translation>
    </message>
    <message>
        <source>建设单位</source>
        <translation>Owner</translation>
    </message>
    <message>
        <source>强度等级</source>
        <translation>Strength grade</translation>
    </message>
    <message>
        <source>执行标准</source>
        <translation>Standard applied</translation>
    </message>
    <message>
        <source>报告日期</source>
        <translation>Report date</translation>
    </message>
    <message>
        <source>报告编号</source>
        <translation>Report no.</translation>
    </message>
    <message>
        <source>施工单位</source>
        <translation>Contractor</translation>
    </message>
    <message>
        <source>施工日期</source>
        <translation>Construction date</translation>
    </message>
    <message>
        <source>检测人员</source>
        <translation>Inspectors</translation>
    </message>
    <message>
        <source>检测仪器</source>
        <translation>Test instrument</translation>
    </message>
    <message>
        <source>检测依据</source>
        <translation>Test basis</translation>
    </message>
    <message>
        <source>检测内容</source>
        <translation>Test scope</translation>
    </message>
    <message>
        <source>检测单位</source>
        <translation>Testing body</translation>
    </message>
    <message>
        <source>检测方法</source>
        <translation>Test method</translation>
    </message>
    <message>
        <source>检测日期</source>
        <translation>Test date</translation>
    </message>
    <message>
        <source>检测编号</source>
        <translation>Test no.</translation>
    </message>
    <message>
        <source>检测项目</source>
        <translation>Test item</translation>
    </message>
    <message>
        <source>浇筑日期</source>
        <translation>Casting date</translation>
    </message>
    <message>
        <source>监理单位</source>
        <translation>Supervisor</translation>
    </message>
    <message>
        <source>监督单位</source>
        <translation>Authority</translation>
    </message>
    <message>
        <source>结构类别</source>
        <translation>Structure type</translation>
    </message>
    <message>
        <source>设计单位</source>
        <translation>Designer</translation>
    </message>
    <message>
        <source>试验编号</source>
        <translation>Test no.</translation>
    </message>
    <message>
        <source>yyyy年M月d日</source>
        <translation>yyyy-MM-dd</translation>
    </message>
    <message>
        <source>要求合格率</source>
        <translation>Required pass rate (%)</translation>
    </message>
    <message>
        <source>电极间距</source>
        <translation>Probe spacing (mm)</translation>
    </message>
    <message>
        <source>混凝土温度</source>
        <translation>Concrete temperature (°C)</translation>
    </message>
    <message>
        <source>表面湿度状况</source>
        <translation>Surface moisture</translation>
    </message>
    <message>
        <source>表面状况</source>
        <translation>Surface condition</translation>
    </message>
    <message>
        <source>未填写</source>
        <translation>not given</translation>
    </message>
</context>
<context>
    <name>ohmlet::ReportPrinting</name>
    <message>
        <source>打印预览</source>
        <translation>Print Preview</translation>
    </message>
</context>
<context>
    <name>ohmlet::TransferDialog</name>
    <message>
        <source>开始传输</source>
        <translation>Start Transfer</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>保存原始数据(&amp;S)...</source>
        <translation>&amp;Save Raw Reply...</translation>
    </message>
    <message>
        <source>保存原始数据</source>
        <translation>Save Raw Reply</translation>
    </message>
    <message>
        <source>仪器原始数据 (*.bin);;所有文件 (*)</source>
        <translation>Instrument replies (*.bin);;All files (*)</translation>
    </message>
    <message>
        <source>不能保存原始数据!</source>
        <translation>Cannot save the raw reply!</translation>
    </message>
    <message>
        <source>存放目录</source>
        <translation>Folder</translation>
    </message>
    <message>
        <source>端口类型</source>
        <translation>Port type</translation>
    </message>
    <message>
        <source>按日期和时间命名文件(&amp;D)</source>
        <translation>Name files by &amp;date and time</translation>
    </message>
    <message>
        <source>每次传输保存为新文件，例如 DZL_20261209_1405.DZL</source>
        <translation>Each download is saved as a new file, for example DZL_20261209_1405.DZL</translation>
    </message>
    <message>
        <source>文件存储路径</source>
        <translation>Save as</translation>
    </message>
    <message>
        <source>端口号</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>传输状态</source>
        <translation type="vanished">Transfer status</translation>
    </message>
    <message>
        <source>%v / %m 字节</source>
        <translation type="vanished">%v / %m bytes</translation>
    </message>
    <message>
        <source>已接收 %1 / %2 个构件，%3 个数据</source>
        <translation type="vanished">Received %1 of %2 components, %3 readings</translation>
    </message>
</context>
<context>
    <name>ohmlet::TransferPortBox</name>
    <message>
        <source>端口类型</source>
        <translation type="vanished">Port type</translation>
    </message>
    <message>
        <source>端口号</source>
        <translation type="vanished">Port</translation>
    </message>
</context>
<context>
    <name>ohmlet::TransferStatusBox</name>
    <message>
        <source>传输状态</source>
        <translation>Transfer status</translation>
    </message>
    <message>
        <source>%v / %m 字节</source>
        <translation>%v / %m bytes</translation>
    </message>
    <message>
        <source>已接收 %1 / %2 个构件，%3 个数据</source>
        <translation>Received %1 of %2 components, %3 readings</translation>
    </message>
</context>
<context>
    <name>ohmlet::TransferTargetBox</name>
    <message>
        <source>存放目录</source>
        <translation type="vanished">Folder</translation>
    </message>
    <message>
        <source>按日期和时间命名文件(&amp;D)</source>
        <translation type="vanished">Name files by &amp;date and time</translation>
    </message>
    <message>
        <source>每次传输保存为新文件，例如 DZL_20261209_1405.DZL</source>
        <translation type="vanished">Each download is saved as a new file, for example DZL_20261209_1405.DZL</translation>
    </message>
    <message>
        <source>文件存储路径</source>
        <translation type="vanished">Save as</translation>
    </message>
</context>
<context>
    <name>ohmlet::transfer_texts</name>
    <message>
        <source>没有数据，请测试数据后再进行传输!</source>
        <translation>There is no data; measure first, then transfer!</translation>
    </message>
    <message>
        <source>数据传输结束!</source>
        <translation>Data transfer finished!</translation>
    </message>
    <message>
        <source>不能打开串口!</source>
        <translation>Cannot open the serial port!</translation>
    </message>
    <message>
        <source>打开设备失败！</source>
        <translation>Could not open the device!</translation>
    </message>
    <message>
        <source>无法打开设备！</source>
        <translation>Cannot open the device!</translation>
    </message>
    <message>
        <source>端点2线程启动失败</source>
        <translation>Could not start the endpoint 2 thread</translation>
    </message>
    <message>
        <source>端点2下传失败！如果设备断开过那么请先关闭本程序</source>
        <translation>Endpoint 2 request failed! If the device was unplugged, close this program first</translation>
    </message>
    <message>
        <source>接收的数据不完整，未写入数据文件!</source>
        <translation>The data received is incomplete; nothing was written to the data file!</translation>
    </message>
    <message>
        <source>不能写入数据文件!</source>
        <translation>Cannot write the data file!</translation>
    </message>
    <message>
        <source>数据传输</source>
        <translation>Data Transfer</translation>
    </message>
    <message>
        <source>该文件已经打开，请先关闭文件，然后进行传输!</source>
        <translation>This file is open; close it first, then transfer!</translation>
    </message>
    <message>
        <source>数据文件已存在，确认要覆盖吗？</source>
        <translation>The data file exists already. Overwrite it?</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>该文件已经打开。是否关闭该文件并继续传输？</source>
        <translation>This file is open. Close it and go on with the download?</translation>
    </message>
</context>
</TS>
